// Every display-list op, in op-code order: 0-209 (the execute table of the
// listable commands) then 1000-1015 (glBegin by mode, the errors, the
// material optimiser's op). The op codes, the compile and execute routines,
// both execute tables and the checks against the dispatch slots are all
// generated from this one list.
//
// Each row: X(code, KIND, Name, ...); the kinds and what follows the name:
//   VALUE   (arity)         slot Name; its arguments stored in parameter order,
//                           each in its own width at its natural alignment,
//                           the whole rounded up to 4 (8 with doubles);
//                           replayed through slot Name with the values
//   ORDERED (arity, order)  as VALUE, the arguments stored in this order of
//                           parameter indices (doubles first)
//   VECTOR  (arity, flag)   scalar slot Name and vector slot Name##v, one op
//                           of `arity` components in their own type,
//                           replayed through Name##v with a pointer
//   ARRAY   (count)         vector slot Name only: `count` components
//   RECT    ()              Name and Name##v: two corners of two components,
//                           replayed through Name##v with two pointers
//   PNAME   (arity, flag, check)  vector slot Name: its enum words, then
//                           as many values as __gl<Name>_size gives for the
//                           pname (the last enum); a pname it refuses (or
//                           the check, if any) compiles an error op
//   SCALAR  (arity, Vector) slot Name: a single-value pname, compiled as the
//                           Vector op; this code is never produced
//   CUSTOM  ()              slot Name, routines written by hand
//   SHARED  (Exec)          as CUSTOM, replayed by __glle_##Exec, the
//                           routine of both precisions of an evaluator map
//   EXPANDED()              an array-drawing slot, compiled as the vertex
//                           calls it makes: never produced
//   BEGIN   ()              code 3, glBegin's slot: codes 1000-1009 stand for it
//   MODE    (mode)          glBegin with that mode
//   ERROR   ()              an error op, data-less
//   MATERIAL()              the material optimiser's op
#pragma once

// clang-format off
#define GL_DLIST_OPS(X) \
  X(0, CUSTOM, CallList) \
  X(1, CUSTOM, CallLists) \
  X(2, VALUE, ListBase, 1) \
  X(3, BEGIN, Begin) \
  X(4, CUSTOM, Bitmap) \
  X(5, VECTOR, Color3b, 3, 0x4) \
  X(6, VECTOR, Color3d, 3, 0x4) \
  X(7, VECTOR, Color3f, 3, 0x4) \
  X(8, VECTOR, Color3i, 3, 0x4) \
  X(9, VECTOR, Color3s, 3, 0x4) \
  X(10, VECTOR, Color3ub, 3, 0x4) \
  X(11, VECTOR, Color3ui, 3, 0x4) \
  X(12, VECTOR, Color3us, 3, 0x4) \
  X(13, VECTOR, Color4b, 4, 0x4) \
  X(14, VECTOR, Color4d, 4, 0x4) \
  X(15, VECTOR, Color4f, 4, 0x4) \
  X(16, VECTOR, Color4i, 4, 0x4) \
  X(17, VECTOR, Color4s, 4, 0x4) \
  X(18, VECTOR, Color4ub, 4, 0x4) \
  X(19, VECTOR, Color4ui, 4, 0x4) \
  X(20, VECTOR, Color4us, 4, 0x4) \
  X(21, VECTOR, EdgeFlag, 1, 0) \
  X(22, VALUE, End, 0) \
  X(23, VECTOR, Indexd, 1, 0x10) \
  X(24, VECTOR, Indexf, 1, 0x10) \
  X(25, VECTOR, Indexi, 1, 0x10) \
  X(26, VECTOR, Indexs, 1, 0x10) \
  X(27, VECTOR, Normal3b, 3, 0x2) \
  X(28, VECTOR, Normal3d, 3, 0x2) \
  X(29, VECTOR, Normal3f, 3, 0x2) \
  X(30, VECTOR, Normal3i, 3, 0x2) \
  X(31, VECTOR, Normal3s, 3, 0x2) \
  X(32, VECTOR, RasterPos2d, 2, 0x20) \
  X(33, VECTOR, RasterPos2f, 2, 0x20) \
  X(34, VECTOR, RasterPos2i, 2, 0x20) \
  X(35, VECTOR, RasterPos2s, 2, 0x20) \
  X(36, VECTOR, RasterPos3d, 3, 0x20) \
  X(37, VECTOR, RasterPos3f, 3, 0x20) \
  X(38, VECTOR, RasterPos3i, 3, 0x20) \
  X(39, VECTOR, RasterPos3s, 3, 0x20) \
  X(40, VECTOR, RasterPos4d, 4, 0x20) \
  X(41, VECTOR, RasterPos4f, 4, 0x20) \
  X(42, VECTOR, RasterPos4i, 4, 0x20) \
  X(43, VECTOR, RasterPos4s, 4, 0x20) \
  X(44, RECT, Rectd) \
  X(45, RECT, Rectf) \
  X(46, RECT, Recti) \
  X(47, RECT, Rects) \
  X(48, VECTOR, TexCoord1d, 1, 0x8) \
  X(49, VECTOR, TexCoord1f, 1, 0x8) \
  X(50, VECTOR, TexCoord1i, 1, 0x8) \
  X(51, VECTOR, TexCoord1s, 1, 0x8) \
  X(52, VECTOR, TexCoord2d, 2, 0x8) \
  X(53, VECTOR, TexCoord2f, 2, 0x8) \
  X(54, VECTOR, TexCoord2i, 2, 0x8) \
  X(55, VECTOR, TexCoord2s, 2, 0x8) \
  X(56, VECTOR, TexCoord3d, 3, 0x8) \
  X(57, VECTOR, TexCoord3f, 3, 0x8) \
  X(58, VECTOR, TexCoord3i, 3, 0x8) \
  X(59, VECTOR, TexCoord3s, 3, 0x8) \
  X(60, VECTOR, TexCoord4d, 4, 0x8) \
  X(61, VECTOR, TexCoord4f, 4, 0x8) \
  X(62, VECTOR, TexCoord4i, 4, 0x8) \
  X(63, VECTOR, TexCoord4s, 4, 0x8) \
  X(64, VECTOR, Vertex2d, 2, 0x1) \
  X(65, VECTOR, Vertex2f, 2, 0x1) \
  X(66, VECTOR, Vertex2i, 2, 0x1) \
  X(67, VECTOR, Vertex2s, 2, 0x1) \
  X(68, VECTOR, Vertex3d, 3, 0x1) \
  X(69, VECTOR, Vertex3f, 3, 0x1) \
  X(70, VECTOR, Vertex3i, 3, 0x1) \
  X(71, VECTOR, Vertex3s, 3, 0x1) \
  X(72, VECTOR, Vertex4d, 4, 0x1) \
  X(73, VECTOR, Vertex4f, 4, 0x1) \
  X(74, VECTOR, Vertex4i, 4, 0x1) \
  X(75, VECTOR, Vertex4s, 4, 0x1) \
  X(76, CUSTOM, ClipPlane) \
  X(77, VALUE, ColorMaterial, 2) \
  X(78, VALUE, CullFace, 1) \
  X(79, VALUE, Fogf, 2) \
  X(80, PNAME, Fogfv, 2, 0, NoCheck) \
  X(81, VALUE, Fogi, 2) \
  X(82, PNAME, Fogiv, 2, 0, NoCheck) \
  X(83, VALUE, FrontFace, 1) \
  X(84, VALUE, Hint, 2) \
  X(85, SCALAR, Lightf, 3, Lightfv) \
  X(86, PNAME, Lightfv, 3, 0, NoCheck) \
  X(87, SCALAR, Lighti, 3, Lightiv) \
  X(88, PNAME, Lightiv, 3, 0, NoCheck) \
  X(89, SCALAR, LightModelf, 2, LightModelfv) \
  X(90, PNAME, LightModelfv, 2, 0, NoCheck) \
  X(91, SCALAR, LightModeli, 2, LightModeliv) \
  X(92, PNAME, LightModeliv, 2, 0, NoCheck) \
  X(93, VALUE, LineStipple, 2) \
  X(94, VALUE, LineWidth, 1) \
  X(95, SCALAR, Materialf, 3, Materialfv) \
  X(96, PNAME, Materialfv, 3, 0x100, MaterialCheck) \
  X(97, SCALAR, Materiali, 3, Materialiv) \
  X(98, PNAME, Materialiv, 3, 0x100, MaterialCheck) \
  X(99, VALUE, PointSize, 1) \
  X(100, VALUE, PolygonMode, 2) \
  X(101, CUSTOM, PolygonStipple) \
  X(102, VALUE, Scissor, 4) \
  X(103, VALUE, ShadeModel, 1) \
  X(104, SCALAR, TexParameterf, 3, TexParameterfv) \
  X(105, PNAME, TexParameterfv, 3, 0, NoCheck) \
  X(106, SCALAR, TexParameteri, 3, TexParameteriv) \
  X(107, PNAME, TexParameteriv, 3, 0, NoCheck) \
  X(108, CUSTOM, TexImage1D) \
  X(109, CUSTOM, TexImage2D) \
  X(110, SCALAR, TexEnvf, 3, TexEnvfv) \
  X(111, PNAME, TexEnvfv, 3, 0, NoCheck) \
  X(112, SCALAR, TexEnvi, 3, TexEnviv) \
  X(113, PNAME, TexEnviv, 3, 0, NoCheck) \
  X(114, SCALAR, TexGend, 3, TexGendv) \
  X(115, PNAME, TexGendv, 3, 0, NoCheck) \
  X(116, SCALAR, TexGenf, 3, TexGenfv) \
  X(117, PNAME, TexGenfv, 3, 0, NoCheck) \
  X(118, SCALAR, TexGeni, 3, TexGeniv) \
  X(119, PNAME, TexGeniv, 3, 0, NoCheck) \
  X(120, VALUE, InitNames, 0) \
  X(121, VALUE, LoadName, 1) \
  X(122, VALUE, PassThrough, 1) \
  X(123, VALUE, PopName, 0) \
  X(124, VALUE, PushName, 1) \
  X(125, VALUE, DrawBuffer, 1) \
  X(126, VALUE, Clear, 1) \
  X(127, VALUE, ClearAccum, 4) \
  X(128, VALUE, ClearIndex, 1) \
  X(129, VALUE, ClearColor, 4) \
  X(130, VALUE, ClearStencil, 1) \
  X(131, VALUE, ClearDepth, 1) \
  X(132, VALUE, StencilMask, 1) \
  X(133, VALUE, ColorMask, 4) \
  X(134, VALUE, DepthMask, 1) \
  X(135, VALUE, IndexMask, 1) \
  X(136, VALUE, Accum, 2) \
  X(137, CUSTOM, Disable) \
  X(138, CUSTOM, Enable) \
  X(139, VALUE, PopAttrib, 0) \
  X(140, VALUE, PushAttrib, 1) \
  X(141, SHARED, Map1d, Map1) \
  X(142, SHARED, Map1f, Map1) \
  X(143, SHARED, Map2d, Map2) \
  X(144, SHARED, Map2f, Map2) \
  X(145, ORDERED, MapGrid1d, 3, (1, 2, 0)) \
  X(146, VALUE, MapGrid1f, 3) \
  X(147, ORDERED, MapGrid2d, 6, (1, 2, 4, 5, 0, 3)) \
  X(148, VALUE, MapGrid2f, 6) \
  X(149, VECTOR, EvalCoord1d, 1, 0) \
  X(150, VECTOR, EvalCoord1f, 1, 0) \
  X(151, VECTOR, EvalCoord2d, 2, 0) \
  X(152, VECTOR, EvalCoord2f, 2, 0) \
  X(153, VALUE, EvalMesh1, 3) \
  X(154, VALUE, EvalPoint1, 1) \
  X(155, VALUE, EvalMesh2, 5) \
  X(156, VALUE, EvalPoint2, 2) \
  X(157, VALUE, AlphaFunc, 2) \
  X(158, VALUE, BlendFunc, 2) \
  X(159, VALUE, LogicOp, 1) \
  X(160, VALUE, StencilFunc, 3) \
  X(161, VALUE, StencilOp, 3) \
  X(162, VALUE, DepthFunc, 1) \
  X(163, VALUE, PixelZoom, 2) \
  X(164, VALUE, PixelTransferf, 2) \
  X(165, VALUE, PixelTransferi, 2) \
  X(166, CUSTOM, PixelMapfv) \
  X(167, CUSTOM, PixelMapuiv) \
  X(168, CUSTOM, PixelMapusv) \
  X(169, VALUE, ReadBuffer, 1) \
  X(170, VALUE, CopyPixels, 5) \
  X(171, CUSTOM, DrawPixels) \
  X(172, VALUE, DepthRange, 2) \
  X(173, VALUE, Frustum, 6) \
  X(174, VALUE, LoadIdentity, 0) \
  X(175, ARRAY, LoadMatrixf, 16) \
  X(176, ARRAY, LoadMatrixd, 16) \
  X(177, VALUE, MatrixMode, 1) \
  X(178, ARRAY, MultMatrixf, 16) \
  X(179, ARRAY, MultMatrixd, 16) \
  X(180, VALUE, Ortho, 6) \
  X(181, VALUE, PopMatrix, 0) \
  X(182, VALUE, PushMatrix, 0) \
  X(183, VALUE, Rotated, 4) \
  X(184, VALUE, Rotatef, 4) \
  X(185, VALUE, Scaled, 3) \
  X(186, VALUE, Scalef, 3) \
  X(187, VALUE, Translated, 3) \
  X(188, VALUE, Translatef, 3) \
  X(189, VALUE, Viewport, 4) \
  X(190, EXPANDED, ArrayElementEXT) \
  X(191, EXPANDED, DrawArraysEXT) \
  X(192, CUSTOM, ColorSubTableEXT) \
  X(193, CUSTOM, ColorTableEXT) \
  X(194, VALUE, CopyColorTableEXT, 5) \
  X(195, EXPANDED, ArrayElement) \
  X(196, EXPANDED, DrawArrays) \
  X(197, EXPANDED, DrawElements) \
  X(198, VALUE, PolygonOffset, 2) \
  X(199, VALUE, CopyTexImage1D, 7) \
  X(200, VALUE, CopyTexImage2D, 8) \
  X(201, VALUE, CopyTexSubImage1D, 6) \
  X(202, VALUE, CopyTexSubImage2D, 8) \
  X(203, CUSTOM, TexSubImage1D) \
  X(204, CUSTOM, TexSubImage2D) \
  X(205, VALUE, BindTexture, 2) \
  X(206, CUSTOM, PrioritizeTextures) \
  X(207, VECTOR, Indexub, 1, 0) \
  X(208, VALUE, IndexFuncVLX, 2) \
  X(209, VALUE, IndexMaterialVLX, 2) \
  X(1000, MODE, Begin_LineLoop, GL_LINE_LOOP) \
  X(1001, MODE, Begin_LineStrip, GL_LINE_STRIP) \
  X(1002, MODE, Begin_Lines, GL_LINES) \
  X(1003, MODE, Begin_Points, GL_POINTS) \
  X(1004, MODE, Begin_Polygon, GL_POLYGON) \
  X(1005, MODE, Begin_TriangleStrip, GL_TRIANGLE_STRIP) \
  X(1006, MODE, Begin_TriangleFan, GL_TRIANGLE_FAN) \
  X(1007, MODE, Begin_Triangles, GL_TRIANGLES) \
  X(1008, MODE, Begin_QuadStrip, GL_QUAD_STRIP) \
  X(1009, MODE, Begin_Quads, GL_QUADS) \
  X(1010, ERROR, InvalidValue) \
  X(1011, ERROR, InvalidEnum) \
  X(1012, ERROR, InvalidOperation) \
  X(1013, ERROR, UnimplementedExtension) \
  X(1014, MATERIAL, FastMaterial) \
  X(1015, ERROR, TableTooLarge)
// clang-format on

// The row's op-code name: the execute routine's name without "__glle_".
#define GL_DLOP_NAME_VALUE(Name, ...) Name
#define GL_DLOP_NAME_ORDERED(Name, ...) Name
#define GL_DLOP_NAME_VECTOR(Name, ...) Name##v
#define GL_DLOP_NAME_ARRAY(Name, ...) Name
#define GL_DLOP_NAME_RECT(Name) Name##v
#define GL_DLOP_NAME_PNAME(Name, ...) Name
#define GL_DLOP_NAME_SCALAR(Name, ...) Name
#define GL_DLOP_NAME_CUSTOM(Name) Name
#define GL_DLOP_NAME_SHARED(Name, ...) Name
#define GL_DLOP_NAME_EXPANDED(Name) Name
#define GL_DLOP_NAME_BEGIN(Name) Name
#define GL_DLOP_NAME_MODE(Name, ...) Name
#define GL_DLOP_NAME_ERROR(Name) Name
#define GL_DLOP_NAME_MATERIAL(Name) Name
