// What holds after every step: glGetError gives only OpenGL error values,
// and state queries answer within their documented ranges.
#pragma once

#include <string>

// False with the problem described.
bool FuzzCheckErrors(std::string *problem);
bool FuzzCheckRanges(std::string *problem);
