// The derived lighting state worked out in double precision from the API
// state of a context, independently of the driver's code: what validation
// must leave in the light and material caches.
#pragma once

#include <vector>

#include "core/context.h"

struct ModelLight {
  int index;
  bool spot, slow;
  double cosCutOff;
  bool hasReciprocal;  // constant attenuation not 0
  double reciprocal;
  double toLight[3], half[3];        // the fast case only
  // |L + (0, 0, 1)|: the half vector's error grows as this shrinks.
  double halfLength;
  double toLightObj[3], halfObj[3];  // the same through the modelview's inverse
  double specularLuminance, diffuseLuminance;
  double products[2][3][3];  // face, ambient/diffuse/specular, r/g/b
  double spotThreshold;
};

struct ModelFace {
  double scene[3];
  double alpha;
  double indexDiff[2];
  double threshold, scale;  // of the specular table
};

struct LightModel {
  std::vector<ModelLight> lights;  // list order
  ModelFace face[2];
  double base[3];
};

LightModel ComputeModel(const GlContext *gc);
// The table threshold and scale for an exponent.
double ModelThreshold(double exponent);
double ModelScale(double exponent);
