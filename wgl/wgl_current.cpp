#include "core/current.h"

#include "core/dispatch_nop.h"

// Constant data, in place before any code runs. Everything not named is zero.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
GlContext __wglPlaceholderContext = {
    .renderMode = GL_RENDER,
    .dispatchState = &__wglPlaceholderContext.dispatch,
    .dispatch = GL_NOP_DISPATCH_INITIALIZER,
};
#pragma GCC diagnostic pop

extern "C" {
constinit thread_local GlContext *__glCurrentContext
    __attribute__((tls_model("initial-exec"))) = &__wglPlaceholderContext;
}
