#pragma once

#include "model/ProgramImage.h"

#include <string>
#include <string_view>

namespace tevra {

// The used part of a program as JSON:
//   {"startBlock": bool, "steps": [{"time": N, "cells": [16 bytes]}, ...]}
// time is the stored step time in units of 10 ms and cells are the raw channel bytes, so
// an export imports back to the same bytes.
std::string programToJson(const ProgramImage& image);

struct ProgramJsonImport {
    ProgramImage image;
    std::string error; // empty on success; otherwise names the offending place, in Russian

    bool ok() const { return error.empty(); }
};

// Records beyond the imported steps are those of the start program. Fields other than the
// ones above are ignored.
ProgramJsonImport programFromJson(std::string_view text);

} // namespace tevra
