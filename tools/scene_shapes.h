// Solid shapes for the scenes, sent through glBegin / glEnd with a normal
// per vertex; faces wind counter-clockwise seen from outside.
#pragma once

// A torus around the z axis: `major` from the centre to the tube's middle,
// tube radius `minor`; one quad strip per ring.
void SceneTorus(float major, float minor, int rings, int sides);
// A sphere around the origin, one quad strip per band of latitude.
void SceneSphere(float radius, int slices, int stacks);
// A box centred on the origin, one quad per face.
void SceneBox(float sizeX, float sizeY, float sizeZ);
// Decals for that box: a square in the middle of every face, in the face's
// own plane, `share` of the face's width and height.
void SceneBoxDecals(float sizeX, float sizeY, float sizeZ, float share);
