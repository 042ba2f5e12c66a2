// Files and folders. Paths use "/" and are relative to the working directory
// unless absolute. Content paths are spelled in several letter cases, so every
// operation here resolves its path ignoring case (ResolvePath).
//
// Text in memory is UTF-8 everywhere in the program; the readers and writers
// here convert from and to the on-disk encodings.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace platform {

struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The path as it exists on disk: each component that does not exist exactly is
// matched ignoring ASCII case (the exact spelling wins when both exist). A path
// that cannot be resolved comes back unchanged. `caseMismatch` (optional) is set
// when the result differs from the input only by case.
std::string ResolvePath(const std::string& path, bool* caseMismatch = nullptr);

// 0 nothing there, 1 a file, 2 a folder.
int FileType(const std::string& path);
bool FileExists(const std::string& path); // FileType == 1
bool CreateFolder(const std::string& path); // parent must exist; true if it exists afterwards
bool DeleteFile(const std::string& path);

// Whole-file text read with byte-order-mark detection: FF FE UTF-16 LE, FE FF
// UTF-16 BE, EF BB BF UTF-8, otherwise one byte per character (codes 0-255).
// The result is UTF-8. Throws FileError when the file cannot be opened.
std::string ReadTextFile(const std::string& path);
std::optional<std::string> TryReadTextFile(const std::string& path);
// Decoding alone, for data already in memory (fuzz targets, tests).
std::string DecodeText(const std::string& bytes);

bool ReadBinaryFile(const std::string& path, std::vector<uint8_t>& out);

// SaveText: text (UTF-8) whose characters are all below 256 is written one byte
// per character without a byte-order mark; otherwise UTF-16 LE after FF FE.
// SaveString: one byte per character (characters of 256 and above are refused:
// returns false and writes nothing).
// Both write to a temporary file beside the target and rename it over the old
// file, so a failed write never damages the existing file. They return false
// (and log a line) on failure instead of throwing.
bool SaveText(const std::string& text, const std::string& path);
bool SaveString(const std::string& text, const std::string& path);
bool WriteFileAtomic(const std::string& path, const std::string& bytes);

// Path pieces.
std::string AbsolutePath(const std::string& path);
std::string FileNamePart(const std::string& path);
std::string WithoutExtension(const std::string& path);
std::string Extension(const std::string& path); // without the dot

// The per-user application-data folder (absolute, no trailing "/"):
// %APPDATA% on Windows, $XDG_DATA_HOME or ~/.local/share elsewhere.
std::string AppDataFolder();
std::string ExecutablePath();

struct ProcessInfo {
    int id = 0;
    int parentId = 0;
    std::string exeName;
};
std::vector<ProcessInfo> ProcessList();

// ---- UTF-8 helpers ----
std::u32string Utf8ToU32(const std::string& s);   // invalid bytes read as their Latin-1 code
std::string U32ToUtf8(const std::u32string& s);
void AppendUtf8(std::string& out, char32_t c);

} // namespace platform
