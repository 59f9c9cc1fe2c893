#pragma once

#include <chrono>
#include <cstdint>
#include <string>

namespace dbengine {

// The program that reads genuine Access files for this engine; only it links the library that
// parses them, so a file that crashes or hangs that library takes down nothing but the reader.
inline constexpr const char* kAccessReaderProgram = "zarize-mdb-read";

// What reading one Access file may take before the file counts as damaged.
struct TAccessReadLimits {
  std::chrono::milliseconds Time;
  std::uint64_t MaxRows;
  std::uint64_t MaxBytes;  // of the reader's output
};

// Limits that no genuine file of this size comes near: rows and output are bounded by what the
// file's bytes can hold, and the time grows with the size from a base of ten seconds.
TAccessReadLimits AccessReadLimitsFor(std::uint64_t fileSize);

// The reader program beside the running executable, the only place it is looked for: anywhere
// else, whoever can put a program there would have it run. Throws EDatabaseError when it is
// missing.
std::string AccessReaderProgram();

// Converts the Access file at source into a database file at target, replacing target only when
// the conversion is complete. The reader runs in a child process under the limits; when it
// crashes, hangs, breaks a limit, fails or writes anything but a whole stream, the error is the
// one every file that is not a database gives ("The file '<source>' is not a database."), and
// target is left as it was. Throws EDatabaseError also when the reader cannot be started or
// target cannot be written.
void ConvertAccessFile(const std::string& source, const std::string& target,
                       const std::string& reader, const TAccessReadLimits& limits);

}  // namespace dbengine
