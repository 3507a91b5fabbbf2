#pragma once
// The VM's C99 printf formats in the spelling of the Windows system C library (msvcrt), which knows its own length
// modifiers instead of C99's "z", "t", "j", "hh" and (before Vista) "ll". Portable: no Windows headers.
#include <string>

// Every conversion keeps its flags, width, precision and type; only the length modifier is respelt: "z" and "t" as
// "I" (pointer-sized), "j" and "ll" as "I64", "hh" as "h". "%%" and text outside conversions stay as they are.
std::string systemFormat(const std::string& format);
