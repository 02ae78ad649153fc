// The process-wide switch that turns every code cache off, read again from
// the environment whenever a cache is made.
#pragma once

struct GlContext;

namespace og {

// Reads "__GL_DISABLE_OG_CACHE": present, it turns caching off when its
// decimal value is non-zero and on when it is zero; absent, it leaves the
// switch alone. False only when a very long value cannot be read for want
// of memory. The thread's last-error value is kept.
bool ReadCacheSwitch(GlContext *gc);
bool CacheDisabled();

}  // namespace og
