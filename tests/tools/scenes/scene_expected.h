// What the scene tests expect: the scene's windows drawn by the core into
// memory by the reference program and laid out as on the screen, and the
// comparison with what the screen shows, both in 5-6-5.
#pragma once

#include <gtest/gtest.h>
#include <stdint.h>

#include <string>
#include <vector>

#include "tools/scene_road.h"

// The screen's 0xAARRGGBB as the 5-6-5 pixel it was widened from.
uint16_t Rgb565FromArgb(uint32_t argb);
std::vector<uint16_t> Rgb565FromArgb(const std::vector<uint32_t> &argb);

// The scene at width x height, each window drawn with the depth and stencil
// bits of the frame's format and the given row order; false with the reason
// in *why.
bool DrawSceneReference(const SceneEntry &scene, int32_t width, int32_t height,
                        const SceneFrame &format, bool topDown, std::vector<uint16_t> *pixels,
                        std::string *why);

// The scene through the road in a separate process whose loader opens the
// software-only device's driver library: width x height pixels, 0xAARRGGBB,
// top row first, and the format its windows got with who drew them; false
// with the reason in *why.
bool DrawSceneThroughSoftDevice(const SceneEntry &scene, int32_t width, int32_t height,
                                std::vector<uint32_t> *argb, SceneFrame *frame, std::string *why);

// The SiS device's 5-6-5 frame against the software path's, by the chip
// model's comparison helper (its 2D-engine clears are undithered and
// truncated: each channel within one unit), with no model violation.
::testing::AssertionResult WithinChipTolerances(const std::vector<uint16_t> &software,
                                                const std::vector<uint16_t> &hardware,
                                                int32_t width);

// Every pixel the same; otherwise the count of differing pixels and the
// first few.
::testing::AssertionResult SameImage(const std::vector<uint16_t> &expected,
                                     const std::vector<uint16_t> &actual, int32_t width);
