// Reading and writing whole files through open descriptors, retried after
// interrupting signals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Writes every byte; false on an error.
bool WriteAll(int fd, std::string_view data);
// Reads to the end of the file; false on an error or beyond maxBytes.
bool ReadAll(int fd, std::string& content, size_t maxBytes = SIZE_MAX);
