// Internal: the two video-memory pools and their allocator.
//
// Local video memory is the one block whose offset 0 is the primary surface;
// the screen's footprint (its pitch times its height, plus 16 spare bytes)
// sits at the bottom and surfaces are placed from the top down, so a larger
// display mode finds room without moving anything. Non-local video memory
// (the AGP aperture) holds textures only; its capacity is 0 unless a test
// sets one. Each pool is reserved once at its largest size, so its base never
// moves while the capacity changes.
//
// Every allocation keeps 16 spare bytes before its first pixel and after its
// last, owned by it alone: generated span code reads and rewrites a few
// elements past a span. First pixels are 16-byte aligned.
//
// Callers hold ScreenLock().
#pragma once

#include <stdint.h>

#include <vector>

namespace platform {

enum class VideoPool { kLocal, kNonLocal };

constexpr uint32_t kSpareBytes = 16;

uint8_t *VideoPoolBase(VideoPool pool);
uint32_t VideoPoolCapacity(VideoPool pool);
uint32_t VideoPoolUsed(VideoPool pool);  // bytes held by allocations, spare bytes included

// Offset of the first pixel of `bytes` new bytes, or false when no gap fits.
bool VideoAllocate(VideoPool pool, uint32_t bytes, uint32_t *offset);
void VideoFree(VideoPool pool, uint32_t offset);

// Sets the lowest offset allocations may use in local memory (the end of the
// screen's footprint and its spare bytes). Allocations below it are dropped;
// their first-pixel offsets are returned so their owners learn they lost it.
std::vector<uint32_t> VideoSetFloor(uint32_t floor);

// Changes a pool's capacity; false when it exceeds the reservation or an
// allocation (or, for local memory, the floor) lies beyond it.
bool VideoSetCapacity(VideoPool pool, uint32_t capacity);

}  // namespace platform
