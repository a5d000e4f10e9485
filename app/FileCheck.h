// What stands in the way of opening a file as a document, found before it is
// read, and German texts for system error numbers.
#pragma once

#include "platform/ErrorText.h"

#include <cstdint>
#include <string>

enum class FileProblem { None, NotFound, IsDirectory, NotRegular, NoPermission, TooLarge };

// Files above this size are refused (the whole file is held in memory).
inline constexpr int64_t kMaxDocumentBytes = int64_t(1) << 30;

FileProblem CheckFileForOpening(const std::string& path, int64_t maxBytes = kMaxDocumentBytes,
                                int64_t* size = nullptr);

// A short German description of errno err.
using platform::GermanErrorText;
