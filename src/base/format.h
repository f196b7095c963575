// printf-style formatting into a string of whatever length the text needs.
#pragma once

#include <cstdarg>
#include <string>

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The same with the arguments of a variadic caller.
std::string FormatV(const char* format, va_list args);
