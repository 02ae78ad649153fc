// Releasing the context current on the calling thread; wglMakeCurrent and
// wglDeleteContext do it, and so does a thread's end.
#pragma once

#include "loader/driver.h"
#include "loader/thread_state.h"

// Releases the context current on the thread, if any, through the driver;
// the thread then has the no-op table. False when the driver refused, and
// the context stays current.
bool ReleaseCurrentContext(LoaderThread &thread, const DriverEntries &driver);
