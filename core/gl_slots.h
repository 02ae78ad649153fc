// The one table of the 358 dispatch slots, in the order the operating
// system's GL library reads them: 0-305 the GL 1.0 commands, 306-335 the GL
// 1.1 additions, 336-357 the extensions handed out by name only. Everything
// slot-shaped is generated from this list (the dispatch record, the three
// static tables, the API entry stubs, and later the loader's forwarders), so
// the slot order is written here and nowhere else.
//
// Each row: X(slot, name without "gl", argument words, list-compile entry,
//             result type, (parameters))
//   argument words: 32-bit words the caller pushes (a GLdouble takes two);
//                   checked against the parameters at compile time, and the
//                   no-op table pops exactly this many.
//   list-compile entry: COMPILED when the command is recorded into a display
//                   list (the list-compile table holds __gllc_X), IMMEDIATE
//                   when it runs at once even while a list is being compiled
//                   (the list-compile table holds __glim_X).
#pragma once

#include "core/gl_defs.h"

#define GL_SLOT_COUNT 358
// Entries that the operating system's GL 1.1 table covers (word 0 of every
// dispatch table).
#define GL_SLOT_CORE_COUNT 336

// clang-format off
#define GL_SLOTS(X) \
  X(0, NewList, 2, IMMEDIATE, void, (GLuint list, GLenum mode)) \
  X(1, EndList, 0, IMMEDIATE, void, (void)) \
  X(2, CallList, 1, COMPILED, void, (GLuint list)) \
  X(3, CallLists, 3, COMPILED, void, (GLsizei n, GLenum type, const GLvoid *lists)) \
  X(4, DeleteLists, 2, IMMEDIATE, void, (GLuint list, GLsizei range)) \
  X(5, GenLists, 1, IMMEDIATE, GLuint, (GLsizei range)) \
  X(6, ListBase, 1, COMPILED, void, (GLuint base)) \
  X(7, Begin, 1, COMPILED, void, (GLenum mode)) \
  X(8, Bitmap, 7, COMPILED, void, (GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove, const GLubyte *bitmap)) \
  X(9, Color3b, 3, COMPILED, void, (GLbyte red, GLbyte green, GLbyte blue)) \
  X(10, Color3bv, 1, COMPILED, void, (const GLbyte *v)) \
  X(11, Color3d, 6, COMPILED, void, (GLdouble red, GLdouble green, GLdouble blue)) \
  X(12, Color3dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(13, Color3f, 3, COMPILED, void, (GLfloat red, GLfloat green, GLfloat blue)) \
  X(14, Color3fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(15, Color3i, 3, COMPILED, void, (GLint red, GLint green, GLint blue)) \
  X(16, Color3iv, 1, COMPILED, void, (const GLint *v)) \
  X(17, Color3s, 3, COMPILED, void, (GLshort red, GLshort green, GLshort blue)) \
  X(18, Color3sv, 1, COMPILED, void, (const GLshort *v)) \
  X(19, Color3ub, 3, COMPILED, void, (GLubyte red, GLubyte green, GLubyte blue)) \
  X(20, Color3ubv, 1, COMPILED, void, (const GLubyte *v)) \
  X(21, Color3ui, 3, COMPILED, void, (GLuint red, GLuint green, GLuint blue)) \
  X(22, Color3uiv, 1, COMPILED, void, (const GLuint *v)) \
  X(23, Color3us, 3, COMPILED, void, (GLushort red, GLushort green, GLushort blue)) \
  X(24, Color3usv, 1, COMPILED, void, (const GLushort *v)) \
  X(25, Color4b, 4, COMPILED, void, (GLbyte red, GLbyte green, GLbyte blue, GLbyte alpha)) \
  X(26, Color4bv, 1, COMPILED, void, (const GLbyte *v)) \
  X(27, Color4d, 8, COMPILED, void, (GLdouble red, GLdouble green, GLdouble blue, GLdouble alpha)) \
  X(28, Color4dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(29, Color4f, 4, COMPILED, void, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha)) \
  X(30, Color4fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(31, Color4i, 4, COMPILED, void, (GLint red, GLint green, GLint blue, GLint alpha)) \
  X(32, Color4iv, 1, COMPILED, void, (const GLint *v)) \
  X(33, Color4s, 4, COMPILED, void, (GLshort red, GLshort green, GLshort blue, GLshort alpha)) \
  X(34, Color4sv, 1, COMPILED, void, (const GLshort *v)) \
  X(35, Color4ub, 4, COMPILED, void, (GLubyte red, GLubyte green, GLubyte blue, GLubyte alpha)) \
  X(36, Color4ubv, 1, COMPILED, void, (const GLubyte *v)) \
  X(37, Color4ui, 4, COMPILED, void, (GLuint red, GLuint green, GLuint blue, GLuint alpha)) \
  X(38, Color4uiv, 1, COMPILED, void, (const GLuint *v)) \
  X(39, Color4us, 4, COMPILED, void, (GLushort red, GLushort green, GLushort blue, GLushort alpha)) \
  X(40, Color4usv, 1, COMPILED, void, (const GLushort *v)) \
  X(41, EdgeFlag, 1, COMPILED, void, (GLboolean flag)) \
  X(42, EdgeFlagv, 1, COMPILED, void, (const GLboolean *flag)) \
  X(43, End, 0, COMPILED, void, (void)) \
  X(44, Indexd, 2, COMPILED, void, (GLdouble c)) \
  X(45, Indexdv, 1, COMPILED, void, (const GLdouble *c)) \
  X(46, Indexf, 1, COMPILED, void, (GLfloat c)) \
  X(47, Indexfv, 1, COMPILED, void, (const GLfloat *c)) \
  X(48, Indexi, 1, COMPILED, void, (GLint c)) \
  X(49, Indexiv, 1, COMPILED, void, (const GLint *c)) \
  X(50, Indexs, 1, COMPILED, void, (GLshort c)) \
  X(51, Indexsv, 1, COMPILED, void, (const GLshort *c)) \
  X(52, Normal3b, 3, COMPILED, void, (GLbyte nx, GLbyte ny, GLbyte nz)) \
  X(53, Normal3bv, 1, COMPILED, void, (const GLbyte *v)) \
  X(54, Normal3d, 6, COMPILED, void, (GLdouble nx, GLdouble ny, GLdouble nz)) \
  X(55, Normal3dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(56, Normal3f, 3, COMPILED, void, (GLfloat nx, GLfloat ny, GLfloat nz)) \
  X(57, Normal3fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(58, Normal3i, 3, COMPILED, void, (GLint nx, GLint ny, GLint nz)) \
  X(59, Normal3iv, 1, COMPILED, void, (const GLint *v)) \
  X(60, Normal3s, 3, COMPILED, void, (GLshort nx, GLshort ny, GLshort nz)) \
  X(61, Normal3sv, 1, COMPILED, void, (const GLshort *v)) \
  X(62, RasterPos2d, 4, COMPILED, void, (GLdouble x, GLdouble y)) \
  X(63, RasterPos2dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(64, RasterPos2f, 2, COMPILED, void, (GLfloat x, GLfloat y)) \
  X(65, RasterPos2fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(66, RasterPos2i, 2, COMPILED, void, (GLint x, GLint y)) \
  X(67, RasterPos2iv, 1, COMPILED, void, (const GLint *v)) \
  X(68, RasterPos2s, 2, COMPILED, void, (GLshort x, GLshort y)) \
  X(69, RasterPos2sv, 1, COMPILED, void, (const GLshort *v)) \
  X(70, RasterPos3d, 6, COMPILED, void, (GLdouble x, GLdouble y, GLdouble z)) \
  X(71, RasterPos3dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(72, RasterPos3f, 3, COMPILED, void, (GLfloat x, GLfloat y, GLfloat z)) \
  X(73, RasterPos3fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(74, RasterPos3i, 3, COMPILED, void, (GLint x, GLint y, GLint z)) \
  X(75, RasterPos3iv, 1, COMPILED, void, (const GLint *v)) \
  X(76, RasterPos3s, 3, COMPILED, void, (GLshort x, GLshort y, GLshort z)) \
  X(77, RasterPos3sv, 1, COMPILED, void, (const GLshort *v)) \
  X(78, RasterPos4d, 8, COMPILED, void, (GLdouble x, GLdouble y, GLdouble z, GLdouble w)) \
  X(79, RasterPos4dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(80, RasterPos4f, 4, COMPILED, void, (GLfloat x, GLfloat y, GLfloat z, GLfloat w)) \
  X(81, RasterPos4fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(82, RasterPos4i, 4, COMPILED, void, (GLint x, GLint y, GLint z, GLint w)) \
  X(83, RasterPos4iv, 1, COMPILED, void, (const GLint *v)) \
  X(84, RasterPos4s, 4, COMPILED, void, (GLshort x, GLshort y, GLshort z, GLshort w)) \
  X(85, RasterPos4sv, 1, COMPILED, void, (const GLshort *v)) \
  X(86, Rectd, 8, COMPILED, void, (GLdouble x1, GLdouble y1, GLdouble x2, GLdouble y2)) \
  X(87, Rectdv, 2, COMPILED, void, (const GLdouble *v1, const GLdouble *v2)) \
  X(88, Rectf, 4, COMPILED, void, (GLfloat x1, GLfloat y1, GLfloat x2, GLfloat y2)) \
  X(89, Rectfv, 2, COMPILED, void, (const GLfloat *v1, const GLfloat *v2)) \
  X(90, Recti, 4, COMPILED, void, (GLint x1, GLint y1, GLint x2, GLint y2)) \
  X(91, Rectiv, 2, COMPILED, void, (const GLint *v1, const GLint *v2)) \
  X(92, Rects, 4, COMPILED, void, (GLshort x1, GLshort y1, GLshort x2, GLshort y2)) \
  X(93, Rectsv, 2, COMPILED, void, (const GLshort *v1, const GLshort *v2)) \
  X(94, TexCoord1d, 2, COMPILED, void, (GLdouble s)) \
  X(95, TexCoord1dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(96, TexCoord1f, 1, COMPILED, void, (GLfloat s)) \
  X(97, TexCoord1fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(98, TexCoord1i, 1, COMPILED, void, (GLint s)) \
  X(99, TexCoord1iv, 1, COMPILED, void, (const GLint *v)) \
  X(100, TexCoord1s, 1, COMPILED, void, (GLshort s)) \
  X(101, TexCoord1sv, 1, COMPILED, void, (const GLshort *v)) \
  X(102, TexCoord2d, 4, COMPILED, void, (GLdouble s, GLdouble t)) \
  X(103, TexCoord2dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(104, TexCoord2f, 2, COMPILED, void, (GLfloat s, GLfloat t)) \
  X(105, TexCoord2fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(106, TexCoord2i, 2, COMPILED, void, (GLint s, GLint t)) \
  X(107, TexCoord2iv, 1, COMPILED, void, (const GLint *v)) \
  X(108, TexCoord2s, 2, COMPILED, void, (GLshort s, GLshort t)) \
  X(109, TexCoord2sv, 1, COMPILED, void, (const GLshort *v)) \
  X(110, TexCoord3d, 6, COMPILED, void, (GLdouble s, GLdouble t, GLdouble r)) \
  X(111, TexCoord3dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(112, TexCoord3f, 3, COMPILED, void, (GLfloat s, GLfloat t, GLfloat r)) \
  X(113, TexCoord3fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(114, TexCoord3i, 3, COMPILED, void, (GLint s, GLint t, GLint r)) \
  X(115, TexCoord3iv, 1, COMPILED, void, (const GLint *v)) \
  X(116, TexCoord3s, 3, COMPILED, void, (GLshort s, GLshort t, GLshort r)) \
  X(117, TexCoord3sv, 1, COMPILED, void, (const GLshort *v)) \
  X(118, TexCoord4d, 8, COMPILED, void, (GLdouble s, GLdouble t, GLdouble r, GLdouble q)) \
  X(119, TexCoord4dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(120, TexCoord4f, 4, COMPILED, void, (GLfloat s, GLfloat t, GLfloat r, GLfloat q)) \
  X(121, TexCoord4fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(122, TexCoord4i, 4, COMPILED, void, (GLint s, GLint t, GLint r, GLint q)) \
  X(123, TexCoord4iv, 1, COMPILED, void, (const GLint *v)) \
  X(124, TexCoord4s, 4, COMPILED, void, (GLshort s, GLshort t, GLshort r, GLshort q)) \
  X(125, TexCoord4sv, 1, COMPILED, void, (const GLshort *v)) \
  X(126, Vertex2d, 4, COMPILED, void, (GLdouble x, GLdouble y)) \
  X(127, Vertex2dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(128, Vertex2f, 2, COMPILED, void, (GLfloat x, GLfloat y)) \
  X(129, Vertex2fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(130, Vertex2i, 2, COMPILED, void, (GLint x, GLint y)) \
  X(131, Vertex2iv, 1, COMPILED, void, (const GLint *v)) \
  X(132, Vertex2s, 2, COMPILED, void, (GLshort x, GLshort y)) \
  X(133, Vertex2sv, 1, COMPILED, void, (const GLshort *v)) \
  X(134, Vertex3d, 6, COMPILED, void, (GLdouble x, GLdouble y, GLdouble z)) \
  X(135, Vertex3dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(136, Vertex3f, 3, COMPILED, void, (GLfloat x, GLfloat y, GLfloat z)) \
  X(137, Vertex3fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(138, Vertex3i, 3, COMPILED, void, (GLint x, GLint y, GLint z)) \
  X(139, Vertex3iv, 1, COMPILED, void, (const GLint *v)) \
  X(140, Vertex3s, 3, COMPILED, void, (GLshort x, GLshort y, GLshort z)) \
  X(141, Vertex3sv, 1, COMPILED, void, (const GLshort *v)) \
  X(142, Vertex4d, 8, COMPILED, void, (GLdouble x, GLdouble y, GLdouble z, GLdouble w)) \
  X(143, Vertex4dv, 1, COMPILED, void, (const GLdouble *v)) \
  X(144, Vertex4f, 4, COMPILED, void, (GLfloat x, GLfloat y, GLfloat z, GLfloat w)) \
  X(145, Vertex4fv, 1, COMPILED, void, (const GLfloat *v)) \
  X(146, Vertex4i, 4, COMPILED, void, (GLint x, GLint y, GLint z, GLint w)) \
  X(147, Vertex4iv, 1, COMPILED, void, (const GLint *v)) \
  X(148, Vertex4s, 4, COMPILED, void, (GLshort x, GLshort y, GLshort z, GLshort w)) \
  X(149, Vertex4sv, 1, COMPILED, void, (const GLshort *v)) \
  X(150, ClipPlane, 2, COMPILED, void, (GLenum plane, const GLdouble *equation)) \
  X(151, ColorMaterial, 2, COMPILED, void, (GLenum face, GLenum mode)) \
  X(152, CullFace, 1, COMPILED, void, (GLenum mode)) \
  X(153, Fogf, 2, COMPILED, void, (GLenum pname, GLfloat param)) \
  X(154, Fogfv, 2, COMPILED, void, (GLenum pname, const GLfloat *params)) \
  X(155, Fogi, 2, COMPILED, void, (GLenum pname, GLint param)) \
  X(156, Fogiv, 2, COMPILED, void, (GLenum pname, const GLint *params)) \
  X(157, FrontFace, 1, COMPILED, void, (GLenum mode)) \
  X(158, Hint, 2, COMPILED, void, (GLenum target, GLenum mode)) \
  X(159, Lightf, 3, COMPILED, void, (GLenum light, GLenum pname, GLfloat param)) \
  X(160, Lightfv, 3, COMPILED, void, (GLenum light, GLenum pname, const GLfloat *params)) \
  X(161, Lighti, 3, COMPILED, void, (GLenum light, GLenum pname, GLint param)) \
  X(162, Lightiv, 3, COMPILED, void, (GLenum light, GLenum pname, const GLint *params)) \
  X(163, LightModelf, 2, COMPILED, void, (GLenum pname, GLfloat param)) \
  X(164, LightModelfv, 2, COMPILED, void, (GLenum pname, const GLfloat *params)) \
  X(165, LightModeli, 2, COMPILED, void, (GLenum pname, GLint param)) \
  X(166, LightModeliv, 2, COMPILED, void, (GLenum pname, const GLint *params)) \
  X(167, LineStipple, 2, COMPILED, void, (GLint factor, GLushort pattern)) \
  X(168, LineWidth, 1, COMPILED, void, (GLfloat width)) \
  X(169, Materialf, 3, COMPILED, void, (GLenum face, GLenum pname, GLfloat param)) \
  X(170, Materialfv, 3, COMPILED, void, (GLenum face, GLenum pname, const GLfloat *params)) \
  X(171, Materiali, 3, COMPILED, void, (GLenum face, GLenum pname, GLint param)) \
  X(172, Materialiv, 3, COMPILED, void, (GLenum face, GLenum pname, const GLint *params)) \
  X(173, PointSize, 1, COMPILED, void, (GLfloat size)) \
  X(174, PolygonMode, 2, COMPILED, void, (GLenum face, GLenum mode)) \
  X(175, PolygonStipple, 1, COMPILED, void, (const GLubyte *mask)) \
  X(176, Scissor, 4, COMPILED, void, (GLint x, GLint y, GLsizei width, GLsizei height)) \
  X(177, ShadeModel, 1, COMPILED, void, (GLenum mode)) \
  X(178, TexParameterf, 3, COMPILED, void, (GLenum target, GLenum pname, GLfloat param)) \
  X(179, TexParameterfv, 3, COMPILED, void, (GLenum target, GLenum pname, const GLfloat *params)) \
  X(180, TexParameteri, 3, COMPILED, void, (GLenum target, GLenum pname, GLint param)) \
  X(181, TexParameteriv, 3, COMPILED, void, (GLenum target, GLenum pname, const GLint *params)) \
  X(182, TexImage1D, 8, COMPILED, void, (GLenum target, GLint level, GLint internalformat, GLsizei width, GLint border, GLenum format, GLenum type, const GLvoid *pixels)) \
  X(183, TexImage2D, 9, COMPILED, void, (GLenum target, GLint level, GLint internalformat, GLsizei width, GLsizei height, GLint border, GLenum format, GLenum type, const GLvoid *pixels)) \
  X(184, TexEnvf, 3, COMPILED, void, (GLenum target, GLenum pname, GLfloat param)) \
  X(185, TexEnvfv, 3, COMPILED, void, (GLenum target, GLenum pname, const GLfloat *params)) \
  X(186, TexEnvi, 3, COMPILED, void, (GLenum target, GLenum pname, GLint param)) \
  X(187, TexEnviv, 3, COMPILED, void, (GLenum target, GLenum pname, const GLint *params)) \
  X(188, TexGend, 4, COMPILED, void, (GLenum coord, GLenum pname, GLdouble param)) \
  X(189, TexGendv, 3, COMPILED, void, (GLenum coord, GLenum pname, const GLdouble *params)) \
  X(190, TexGenf, 3, COMPILED, void, (GLenum coord, GLenum pname, GLfloat param)) \
  X(191, TexGenfv, 3, COMPILED, void, (GLenum coord, GLenum pname, const GLfloat *params)) \
  X(192, TexGeni, 3, COMPILED, void, (GLenum coord, GLenum pname, GLint param)) \
  X(193, TexGeniv, 3, COMPILED, void, (GLenum coord, GLenum pname, const GLint *params)) \
  X(194, FeedbackBuffer, 3, IMMEDIATE, void, (GLsizei size, GLenum type, GLfloat *buffer)) \
  X(195, SelectBuffer, 2, IMMEDIATE, void, (GLsizei size, GLuint *buffer)) \
  X(196, RenderMode, 1, IMMEDIATE, GLint, (GLenum mode)) \
  X(197, InitNames, 0, COMPILED, void, (void)) \
  X(198, LoadName, 1, COMPILED, void, (GLuint name)) \
  X(199, PassThrough, 1, COMPILED, void, (GLfloat token)) \
  X(200, PopName, 0, COMPILED, void, (void)) \
  X(201, PushName, 1, COMPILED, void, (GLuint name)) \
  X(202, DrawBuffer, 1, COMPILED, void, (GLenum mode)) \
  X(203, Clear, 1, COMPILED, void, (GLbitfield mask)) \
  X(204, ClearAccum, 4, COMPILED, void, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha)) \
  X(205, ClearIndex, 1, COMPILED, void, (GLfloat c)) \
  X(206, ClearColor, 4, COMPILED, void, (GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha)) \
  X(207, ClearStencil, 1, COMPILED, void, (GLint s)) \
  X(208, ClearDepth, 2, COMPILED, void, (GLclampd depth)) \
  X(209, StencilMask, 1, COMPILED, void, (GLuint mask)) \
  X(210, ColorMask, 4, COMPILED, void, (GLboolean red, GLboolean green, GLboolean blue, GLboolean alpha)) \
  X(211, DepthMask, 1, COMPILED, void, (GLboolean flag)) \
  X(212, IndexMask, 1, COMPILED, void, (GLuint mask)) \
  X(213, Accum, 2, COMPILED, void, (GLenum op, GLfloat value)) \
  X(214, Disable, 1, COMPILED, void, (GLenum cap)) \
  X(215, Enable, 1, COMPILED, void, (GLenum cap)) \
  X(216, Finish, 0, IMMEDIATE, void, (void)) \
  X(217, Flush, 0, IMMEDIATE, void, (void)) \
  X(218, PopAttrib, 0, COMPILED, void, (void)) \
  X(219, PushAttrib, 1, COMPILED, void, (GLbitfield mask)) \
  X(220, Map1d, 8, COMPILED, void, (GLenum target, GLdouble u1, GLdouble u2, GLint stride, GLint order, const GLdouble *points)) \
  X(221, Map1f, 6, COMPILED, void, (GLenum target, GLfloat u1, GLfloat u2, GLint stride, GLint order, const GLfloat *points)) \
  X(222, Map2d, 14, COMPILED, void, (GLenum target, GLdouble u1, GLdouble u2, GLint ustride, GLint uorder, GLdouble v1, GLdouble v2, GLint vstride, GLint vorder, const GLdouble *points)) \
  X(223, Map2f, 10, COMPILED, void, (GLenum target, GLfloat u1, GLfloat u2, GLint ustride, GLint uorder, GLfloat v1, GLfloat v2, GLint vstride, GLint vorder, const GLfloat *points)) \
  X(224, MapGrid1d, 5, COMPILED, void, (GLint un, GLdouble u1, GLdouble u2)) \
  X(225, MapGrid1f, 3, COMPILED, void, (GLint un, GLfloat u1, GLfloat u2)) \
  X(226, MapGrid2d, 10, COMPILED, void, (GLint un, GLdouble u1, GLdouble u2, GLint vn, GLdouble v1, GLdouble v2)) \
  X(227, MapGrid2f, 6, COMPILED, void, (GLint un, GLfloat u1, GLfloat u2, GLint vn, GLfloat v1, GLfloat v2)) \
  X(228, EvalCoord1d, 2, COMPILED, void, (GLdouble u)) \
  X(229, EvalCoord1dv, 1, COMPILED, void, (const GLdouble *u)) \
  X(230, EvalCoord1f, 1, COMPILED, void, (GLfloat u)) \
  X(231, EvalCoord1fv, 1, COMPILED, void, (const GLfloat *u)) \
  X(232, EvalCoord2d, 4, COMPILED, void, (GLdouble u, GLdouble v)) \
  X(233, EvalCoord2dv, 1, COMPILED, void, (const GLdouble *u)) \
  X(234, EvalCoord2f, 2, COMPILED, void, (GLfloat u, GLfloat v)) \
  X(235, EvalCoord2fv, 1, COMPILED, void, (const GLfloat *u)) \
  X(236, EvalMesh1, 3, COMPILED, void, (GLenum mode, GLint i1, GLint i2)) \
  X(237, EvalPoint1, 1, COMPILED, void, (GLint i)) \
  X(238, EvalMesh2, 5, COMPILED, void, (GLenum mode, GLint i1, GLint i2, GLint j1, GLint j2)) \
  X(239, EvalPoint2, 2, COMPILED, void, (GLint i, GLint j)) \
  X(240, AlphaFunc, 2, COMPILED, void, (GLenum func, GLclampf ref)) \
  X(241, BlendFunc, 2, COMPILED, void, (GLenum sfactor, GLenum dfactor)) \
  X(242, LogicOp, 1, COMPILED, void, (GLenum opcode)) \
  X(243, StencilFunc, 3, COMPILED, void, (GLenum func, GLint ref, GLuint mask)) \
  X(244, StencilOp, 3, COMPILED, void, (GLenum fail, GLenum zfail, GLenum zpass)) \
  X(245, DepthFunc, 1, COMPILED, void, (GLenum func)) \
  X(246, PixelZoom, 2, COMPILED, void, (GLfloat xfactor, GLfloat yfactor)) \
  X(247, PixelTransferf, 2, COMPILED, void, (GLenum pname, GLfloat param)) \
  X(248, PixelTransferi, 2, COMPILED, void, (GLenum pname, GLint param)) \
  X(249, PixelStoref, 2, IMMEDIATE, void, (GLenum pname, GLfloat param)) \
  X(250, PixelStorei, 2, IMMEDIATE, void, (GLenum pname, GLint param)) \
  X(251, PixelMapfv, 3, COMPILED, void, (GLenum map, GLsizei mapsize, const GLfloat *values)) \
  X(252, PixelMapuiv, 3, COMPILED, void, (GLenum map, GLsizei mapsize, const GLuint *values)) \
  X(253, PixelMapusv, 3, COMPILED, void, (GLenum map, GLsizei mapsize, const GLushort *values)) \
  X(254, ReadBuffer, 1, COMPILED, void, (GLenum mode)) \
  X(255, CopyPixels, 5, COMPILED, void, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum type)) \
  X(256, ReadPixels, 7, IMMEDIATE, void, (GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, GLvoid *pixels)) \
  X(257, DrawPixels, 5, COMPILED, void, (GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid *pixels)) \
  X(258, GetBooleanv, 2, IMMEDIATE, void, (GLenum pname, GLboolean *params)) \
  X(259, GetClipPlane, 2, IMMEDIATE, void, (GLenum plane, GLdouble *equation)) \
  X(260, GetDoublev, 2, IMMEDIATE, void, (GLenum pname, GLdouble *params)) \
  X(261, GetError, 0, IMMEDIATE, GLenum, (void)) \
  X(262, GetFloatv, 2, IMMEDIATE, void, (GLenum pname, GLfloat *params)) \
  X(263, GetIntegerv, 2, IMMEDIATE, void, (GLenum pname, GLint *params)) \
  X(264, GetLightfv, 3, IMMEDIATE, void, (GLenum light, GLenum pname, GLfloat *params)) \
  X(265, GetLightiv, 3, IMMEDIATE, void, (GLenum light, GLenum pname, GLint *params)) \
  X(266, GetMapdv, 3, IMMEDIATE, void, (GLenum target, GLenum query, GLdouble *v)) \
  X(267, GetMapfv, 3, IMMEDIATE, void, (GLenum target, GLenum query, GLfloat *v)) \
  X(268, GetMapiv, 3, IMMEDIATE, void, (GLenum target, GLenum query, GLint *v)) \
  X(269, GetMaterialfv, 3, IMMEDIATE, void, (GLenum face, GLenum pname, GLfloat *params)) \
  X(270, GetMaterialiv, 3, IMMEDIATE, void, (GLenum face, GLenum pname, GLint *params)) \
  X(271, GetPixelMapfv, 2, IMMEDIATE, void, (GLenum map, GLfloat *values)) \
  X(272, GetPixelMapuiv, 2, IMMEDIATE, void, (GLenum map, GLuint *values)) \
  X(273, GetPixelMapusv, 2, IMMEDIATE, void, (GLenum map, GLushort *values)) \
  X(274, GetPolygonStipple, 1, IMMEDIATE, void, (GLubyte *mask)) \
  X(275, GetString, 1, IMMEDIATE, const GLubyte *, (GLenum name)) \
  X(276, GetTexEnvfv, 3, IMMEDIATE, void, (GLenum target, GLenum pname, GLfloat *params)) \
  X(277, GetTexEnviv, 3, IMMEDIATE, void, (GLenum target, GLenum pname, GLint *params)) \
  X(278, GetTexGendv, 3, IMMEDIATE, void, (GLenum coord, GLenum pname, GLdouble *params)) \
  X(279, GetTexGenfv, 3, IMMEDIATE, void, (GLenum coord, GLenum pname, GLfloat *params)) \
  X(280, GetTexGeniv, 3, IMMEDIATE, void, (GLenum coord, GLenum pname, GLint *params)) \
  X(281, GetTexImage, 5, IMMEDIATE, void, (GLenum target, GLint level, GLenum format, GLenum type, GLvoid *pixels)) \
  X(282, GetTexParameterfv, 3, IMMEDIATE, void, (GLenum target, GLenum pname, GLfloat *params)) \
  X(283, GetTexParameteriv, 3, IMMEDIATE, void, (GLenum target, GLenum pname, GLint *params)) \
  X(284, GetTexLevelParameterfv, 4, IMMEDIATE, void, (GLenum target, GLint level, GLenum pname, GLfloat *params)) \
  X(285, GetTexLevelParameteriv, 4, IMMEDIATE, void, (GLenum target, GLint level, GLenum pname, GLint *params)) \
  X(286, IsEnabled, 1, IMMEDIATE, GLboolean, (GLenum cap)) \
  X(287, IsList, 1, IMMEDIATE, GLboolean, (GLuint list)) \
  X(288, DepthRange, 4, COMPILED, void, (GLclampd zNear, GLclampd zFar)) \
  X(289, Frustum, 12, COMPILED, void, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar)) \
  X(290, LoadIdentity, 0, COMPILED, void, (void)) \
  X(291, LoadMatrixf, 1, COMPILED, void, (const GLfloat *m)) \
  X(292, LoadMatrixd, 1, COMPILED, void, (const GLdouble *m)) \
  X(293, MatrixMode, 1, COMPILED, void, (GLenum mode)) \
  X(294, MultMatrixf, 1, COMPILED, void, (const GLfloat *m)) \
  X(295, MultMatrixd, 1, COMPILED, void, (const GLdouble *m)) \
  X(296, Ortho, 12, COMPILED, void, (GLdouble left, GLdouble right, GLdouble bottom, GLdouble top, GLdouble zNear, GLdouble zFar)) \
  X(297, PopMatrix, 0, COMPILED, void, (void)) \
  X(298, PushMatrix, 0, COMPILED, void, (void)) \
  X(299, Rotated, 8, COMPILED, void, (GLdouble angle, GLdouble x, GLdouble y, GLdouble z)) \
  X(300, Rotatef, 4, COMPILED, void, (GLfloat angle, GLfloat x, GLfloat y, GLfloat z)) \
  X(301, Scaled, 6, COMPILED, void, (GLdouble x, GLdouble y, GLdouble z)) \
  X(302, Scalef, 3, COMPILED, void, (GLfloat x, GLfloat y, GLfloat z)) \
  X(303, Translated, 6, COMPILED, void, (GLdouble x, GLdouble y, GLdouble z)) \
  X(304, Translatef, 3, COMPILED, void, (GLfloat x, GLfloat y, GLfloat z)) \
  X(305, Viewport, 4, COMPILED, void, (GLint x, GLint y, GLsizei width, GLsizei height)) \
  X(306, ArrayElement, 1, COMPILED, void, (GLint i)) \
  X(307, BindTexture, 2, COMPILED, void, (GLenum target, GLuint texture)) \
  X(308, ColorPointer, 4, IMMEDIATE, void, (GLint size, GLenum type, GLsizei stride, const GLvoid *pointer)) \
  X(309, DisableClientState, 1, IMMEDIATE, void, (GLenum array)) \
  X(310, DrawArrays, 3, COMPILED, void, (GLenum mode, GLint first, GLsizei count)) \
  X(311, DrawElements, 4, COMPILED, void, (GLenum mode, GLsizei count, GLenum type, const GLvoid *indices)) \
  X(312, EdgeFlagPointer, 2, IMMEDIATE, void, (GLsizei stride, const GLvoid *pointer)) \
  X(313, EnableClientState, 1, IMMEDIATE, void, (GLenum array)) \
  X(314, IndexPointer, 3, IMMEDIATE, void, (GLenum type, GLsizei stride, const GLvoid *pointer)) \
  X(315, Indexub, 1, COMPILED, void, (GLubyte c)) \
  X(316, Indexubv, 1, COMPILED, void, (const GLubyte *c)) \
  X(317, InterleavedArrays, 3, IMMEDIATE, void, (GLenum format, GLsizei stride, const GLvoid *pointer)) \
  X(318, NormalPointer, 3, IMMEDIATE, void, (GLenum type, GLsizei stride, const GLvoid *pointer)) \
  X(319, PolygonOffset, 2, COMPILED, void, (GLfloat factor, GLfloat units)) \
  X(320, TexCoordPointer, 4, IMMEDIATE, void, (GLint size, GLenum type, GLsizei stride, const GLvoid *pointer)) \
  X(321, VertexPointer, 4, IMMEDIATE, void, (GLint size, GLenum type, GLsizei stride, const GLvoid *pointer)) \
  X(322, AreTexturesResident, 3, IMMEDIATE, GLboolean, (GLsizei n, const GLuint *textures, GLboolean *residences)) \
  X(323, CopyTexImage1D, 7, COMPILED, void, (GLenum target, GLint level, GLenum internalformat, GLint x, GLint y, GLsizei width, GLint border)) \
  X(324, CopyTexImage2D, 8, COMPILED, void, (GLenum target, GLint level, GLenum internalformat, GLint x, GLint y, GLsizei width, GLsizei height, GLint border)) \
  X(325, CopyTexSubImage1D, 6, COMPILED, void, (GLenum target, GLint level, GLint xoffset, GLint x, GLint y, GLsizei width)) \
  X(326, CopyTexSubImage2D, 8, COMPILED, void, (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLint x, GLint y, GLsizei width, GLsizei height)) \
  X(327, DeleteTextures, 2, IMMEDIATE, void, (GLsizei n, const GLuint *textures)) \
  X(328, GenTextures, 2, IMMEDIATE, void, (GLsizei n, GLuint *textures)) \
  X(329, GetPointerv, 2, IMMEDIATE, void, (GLenum pname, GLvoid **params)) \
  X(330, IsTexture, 1, IMMEDIATE, GLboolean, (GLuint texture)) \
  X(331, PrioritizeTextures, 3, COMPILED, void, (GLsizei n, const GLuint *textures, const GLclampf *priorities)) \
  X(332, TexSubImage1D, 7, COMPILED, void, (GLenum target, GLint level, GLint xoffset, GLsizei width, GLenum format, GLenum type, const GLvoid *pixels)) \
  X(333, TexSubImage2D, 9, COMPILED, void, (GLenum target, GLint level, GLint xoffset, GLint yoffset, GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid *pixels)) \
  X(334, PopClientAttrib, 0, IMMEDIATE, void, (void)) \
  X(335, PushClientAttrib, 1, IMMEDIATE, void, (GLbitfield mask)) \
  X(336, ArrayElementEXT, 1, COMPILED, void, (GLint i)) \
  X(337, ColorPointerEXT, 5, IMMEDIATE, void, (GLint size, GLenum type, GLsizei stride, GLsizei count, const GLvoid *pointer)) \
  X(338, DrawArraysEXT, 3, COMPILED, void, (GLenum mode, GLint first, GLsizei count)) \
  X(339, EdgeFlagPointerEXT, 3, IMMEDIATE, void, (GLsizei stride, GLsizei count, const GLboolean *pointer)) \
  X(340, GetPointervEXT, 2, IMMEDIATE, void, (GLenum pname, GLvoid **params)) \
  X(341, IndexPointerEXT, 4, IMMEDIATE, void, (GLenum type, GLsizei stride, GLsizei count, const GLvoid *pointer)) \
  X(342, NormalPointerEXT, 4, IMMEDIATE, void, (GLenum type, GLsizei stride, GLsizei count, const GLvoid *pointer)) \
  X(343, TexCoordPointerEXT, 5, IMMEDIATE, void, (GLint size, GLenum type, GLsizei stride, GLsizei count, const GLvoid *pointer)) \
  X(344, VertexPointerEXT, 5, IMMEDIATE, void, (GLint size, GLenum type, GLsizei stride, GLsizei count, const GLvoid *pointer)) \
  X(345, ColorSubTableEXT, 6, COMPILED, void, (GLenum target, GLsizei start, GLsizei count, GLenum format, GLenum type, const GLvoid *data)) \
  X(346, ColorTableEXT, 6, COMPILED, void, (GLenum target, GLenum internalformat, GLsizei width, GLenum format, GLenum type, const GLvoid *table)) \
  X(347, CopyColorTableEXT, 5, COMPILED, void, (GLenum target, GLenum internalformat, GLint x, GLint y, GLsizei width)) \
  X(348, GetColorTableEXT, 4, IMMEDIATE, void, (GLenum target, GLenum format, GLenum type, GLvoid *table)) \
  X(349, GetColorTableParameterfvEXT, 3, IMMEDIATE, void, (GLenum target, GLenum pname, GLfloat *params)) \
  X(350, GetColorTableParameterivEXT, 3, IMMEDIATE, void, (GLenum target, GLenum pname, GLint *params)) \
  X(351, LockArraysVLX, 2, IMMEDIATE, void, (GLint first, GLsizei count)) \
  X(352, UnlockArraysVLX, 0, IMMEDIATE, void, (void)) \
  X(353, CullParameterdvVLX, 2, IMMEDIATE, void, (GLenum pname, GLdouble *params)) \
  X(354, CullParameterfvVLX, 2, IMMEDIATE, void, (GLenum pname, GLfloat *params)) \
  X(355, IndexFuncVLX, 2, COMPILED, void, (GLenum func, GLclampf ref)) \
  X(356, IndexMaterialVLX, 2, COMPILED, void, (GLenum face, GLenum mode)) \
  X(357, AddSwapHintRectWIN, 4, IMMEDIATE, void, (GLint x, GLint y, GLsizei width, GLsizei height))
// clang-format on
