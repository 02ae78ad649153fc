// The five entries the vertex cache puts into the immediate table in force.
#pragma once

#include "core/calling.h"
#include "core/gl_defs.h"

void GLENTRY __glim_VertexCacheBegin(GLenum mode);
void GLENTRY __glim_VertexCacheEnd(void);
void GLENTRY __glim_VertexCache2fv(const GLfloat *v);
void GLENTRY __glim_VertexCache3fv(const GLfloat *v);
void GLENTRY __glim_VertexCache4fv(const GLfloat *v);
