#include "app/platform/core/files.h"

#include "app/platform/core/system.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace platform {

namespace {

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

// Whether anything (file, folder, link) exists under this exact spelling.
bool ExistsExactly(const std::string& path)
{
    std::error_code ec;
    return fs::symlink_status(fs::path(path), ec).type() != fs::file_type::not_found && !ec;
}

bool IsFolder(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(fs::path(path), ec);
}

// The entry of `folder` whose name matches `name` ignoring ASCII case. When
// several match (a folder holding both "a.txt" and "A.TXT" but not the asked
// spelling), the smallest name wins so the choice never depends on listing order.
std::optional<std::string> FindInFolder(const std::string& folder, const std::string& name)
{
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder.empty() ? "." : folder), ec);
    if (ec)
        return std::nullopt;
    std::optional<std::string> best;
    for (const auto& entry : it) {
        std::string candidate = entry.path().filename().string();
        if (EqualsIgnoringAsciiCase(candidate, name) && (!best || candidate < *best))
            best = std::move(candidate);
    }
    return best;
}

std::string ToForwardSlashes(std::string path)
{
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

std::atomic<unsigned> g_tempCounter{0};

int CurrentProcessId()
{
#ifdef _WIN32
    return _getpid();
#else
    return static_cast<int>(getpid());
#endif
}

} // namespace

// ---- Paths ----

std::string ResolvePath(const std::string& input, bool* caseMismatch)
{
    if (caseMismatch)
        *caseMismatch = false;
    const std::string path = ToForwardSlashes(input);
    if (path.empty() || ExistsExactly(path))
        return path;

    // Split into components, remembering a leading "/" and a trailing "/".
    const bool absolute = path[0] == '/';
    const bool trailingSlash = path.back() == '/';
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    if (parts.empty())
        return path;

    std::string current = absolute ? "/" : "";
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        const std::string prefix = current.empty() || current.back() == '/' ? current : current + "/";
        std::string next = prefix + part;
        if (part != "." && part != ".." && !ExistsExactly(next)) {
            auto found = IsFolder(current.empty() ? "." : current) ? FindInFolder(current, part) : std::nullopt;
            if (found) {
                next = prefix + *found;
            } else if (i + 1 == parts.size()) {
                // The last piece does not exist in any case: a path about to be
                // created, whose parent has been resolved.
            } else {
                return path;
            }
        }
        current = std::move(next);
    }
    if (trailingSlash)
        current += '/';
    if (caseMismatch)
        *caseMismatch = current != path && EqualsIgnoringAsciiCase(current, path);
    return current;
}

int FileType(const std::string& path)
{
    if (path.empty())
        return 0;
    std::error_code ec;
    const auto st = fs::status(fs::path(ResolvePath(path)), ec);
    if (ec)
        return 0;
    if (st.type() == fs::file_type::directory)
        return 2;
    if (st.type() == fs::file_type::not_found || st.type() == fs::file_type::none)
        return 0;
    return 1;
}

bool FileExists(const std::string& path) { return FileType(path) == 1; }

bool CreateFolder(const std::string& path)
{
    if (path.empty())
        return false;
    const std::string resolved = ResolvePath(path);
    if (IsFolder(resolved))
        return true;
    // Default permissions of the user (the process umask applies); access is
    // never widened for other users or groups.
    std::error_code ec;
    fs::create_directory(fs::path(resolved), ec);
    return IsFolder(resolved);
}

bool DeleteFile(const std::string& path)
{
    if (path.empty())
        return false;
    const std::string resolved = ResolvePath(path);
    std::error_code ec;
    const auto st = fs::symlink_status(fs::path(resolved), ec);
    if (ec || st.type() == fs::file_type::directory || st.type() == fs::file_type::not_found)
        return false;
    return fs::remove(fs::path(resolved), ec) && !ec;
}

// ---- Reading ----

bool ReadBinaryFile(const std::string& path, std::vector<uint8_t>& out)
{
    out.clear();
    const std::string resolved = ResolvePath(path);
    if (resolved.empty() || IsFolder(resolved))
        return false;
    std::ifstream in(fs::path(resolved), std::ios::binary);
    if (!in)
        return false;
    // Read in chunks rather than trusting the reported size: files under /proc
    // report a size of 0.
    char chunk[65536];
    while (in) {
        in.read(chunk, sizeof chunk);
        const std::streamsize got = in.gcount();
        if (got > 0)
            out.insert(out.end(), chunk, chunk + got);
    }
    if (in.bad()) {
        out.clear();
        return false;
    }
    return true;
}

std::string DecodeText(const std::string& bytes)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    std::string out;
    out.reserve(bytes.size());

    if (bytes.size() >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF))) {
        const bool little = byte(0) == 0xFF;
        const auto unit = [&](size_t i) -> char32_t {
            return little ? static_cast<char32_t>(byte(i) | (byte(i + 1) << 8))
                          : static_cast<char32_t>((byte(i) << 8) | byte(i + 1));
        };
        size_t i = 2;
        while (i + 1 < bytes.size()) {
            char32_t c = unit(i);
            i += 2;
            if (c >= 0xD800 && c <= 0xDBFF) {
                if (i + 1 < bytes.size()) {
                    const char32_t low = unit(i);
                    if (low >= 0xDC00 && low <= 0xDFFF) {
                        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                        i += 2;
                    } else {
                        c = 0xFFFD; // a high half without its low half
                    }
                } else {
                    c = 0xFFFD;
                }
            } else if (c >= 0xDC00 && c <= 0xDFFF) {
                c = 0xFFFD; // a low half on its own
            }
            AppendUtf8(out, c);
        }
        // An odd last byte cannot be a character; it is left out.
        return out;
    }

    if (bytes.size() >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
        // Re-encoding keeps the result valid UTF-8 even when the file is not.
        return U32ToUtf8(Utf8ToU32(bytes.substr(3)));
    }

    for (size_t i = 0; i < bytes.size(); ++i)
        AppendUtf8(out, static_cast<char32_t>(byte(i)));
    return out;
}

std::string ReadTextFile(const std::string& path)
{
    auto text = TryReadTextFile(path);
    if (!text)
        throw FileError("Cannot read file: " + path);
    return std::move(*text);
}

std::optional<std::string> TryReadTextFile(const std::string& path)
{
    std::vector<uint8_t> bytes;
    if (!ReadBinaryFile(path, bytes))
        return std::nullopt;
    return DecodeText(std::string(bytes.begin(), bytes.end()));
}

// ---- Saving ----

bool WriteFileAtomic(const std::string& path, const std::string& bytes)
{
    if (path.empty()) {
        Log("Cannot save file: empty path");
        return false;
    }
    const std::string target = ResolvePath(path);
    const std::string temp = target + ".tmp" + std::to_string(CurrentProcessId()) + "-" +
                             std::to_string(g_tempCounter.fetch_add(1));
#ifdef _WIN32
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) {
        Log("Cannot save file: " + path + " (" + std::strerror(errno) + ")");
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fclose(f) == 0 && ok;
    std::error_code ec;
    if (ok) {
        fs::rename(fs::path(temp), fs::path(target), ec);
        ok = !ec;
    }
    if (!ok) {
        fs::remove(fs::path(temp), ec);
        Log("Cannot save file: " + path);
    }
    return ok;
#else
    // A file that already exists keeps its permission bits.
    mode_t mode = 0666;
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) {
            Log("Cannot save file: " + path + " (a folder of that name exists)");
            return false;
        }
        mode = old.st_mode & 07777;
    }
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0) {
        Log("Cannot save file: " + path + " (" + std::strerror(errno) + ")");
        return false;
    }
    if (mode != 0666)
        (void)::fchmod(fd, mode);
    const char* data = bytes.data();
    size_t left = bytes.size();
    int error = 0;
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        data += n;
        left -= static_cast<size_t>(n);
    }
    if (!error && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temp.c_str(), target.c_str()) != 0)
        error = errno;
    if (error) {
        ::unlink(temp.c_str());
        Log("Cannot save file: " + path + " (" + std::strerror(error) + ")");
        return false;
    }
    return true;
#endif
}

bool SaveText(const std::string& text, const std::string& path)
{
    try {
        const std::u32string chars = Utf8ToU32(text);
        const bool narrow = std::all_of(chars.begin(), chars.end(), [](char32_t c) { return c < 256; });
        std::string bytes;
        if (narrow) {
            bytes.reserve(chars.size());
            for (char32_t c : chars)
                bytes.push_back(static_cast<char>(static_cast<unsigned char>(c)));
        } else {
            bytes.reserve(chars.size() * 2 + 2);
            bytes += "\xFF\xFE";
            const auto put = [&](char32_t unit) {
                bytes.push_back(static_cast<char>(unit & 0xFF));
                bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
            };
            for (char32_t c : chars) {
                if (c >= 0x10000) {
                    const char32_t v = c - 0x10000;
                    put(0xD800 + (v >> 10));
                    put(0xDC00 + (v & 0x3FF));
                } else {
                    put(c);
                }
            }
        }
        return WriteFileAtomic(path, bytes);
    } catch (const std::exception& e) {
        Log("Cannot save file: " + path + " (" + e.what() + ")");
        return false;
    }
}

bool SaveString(const std::string& text, const std::string& path)
{
    try {
        const std::u32string chars = Utf8ToU32(text);
        std::string bytes;
        bytes.reserve(chars.size());
        for (char32_t c : chars) {
            if (c >= 256) {
                Log("Cannot save file: " + path + " (a character above 255 cannot be stored one byte per character)");
                return false;
            }
            bytes.push_back(static_cast<char>(static_cast<unsigned char>(c)));
        }
        return WriteFileAtomic(path, bytes);
    } catch (const std::exception& e) {
        Log("Cannot save file: " + path + " (" + e.what() + ")");
        return false;
    }
}

// ---- Path pieces ----

std::string AbsolutePath(const std::string& path)
{
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(path.empty() ? "." : path), ec);
    if (ec)
        return path;
    std::string out = ToForwardSlashes(p.lexically_normal().generic_string());
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

namespace {
size_t FileNameStart(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? 0 : slash + 1;
}
size_t ExtensionDot(const std::string& path)
{
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < FileNameStart(path))
        return std::string::npos;
    return dot;
}
} // namespace

std::string FileNamePart(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string WithoutExtension(const std::string& path)
{
    const size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? path : path.substr(0, dot);
}

std::string Extension(const std::string& path)
{
    const size_t dot = ExtensionDot(path);
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

// ---- Operating system ----

namespace {
std::string WithoutTrailingSlash(std::string s)
{
    while (s.size() > 1 && (s.back() == '/' || s.back() == '\\'))
        s.pop_back();
    return s;
}
} // namespace

std::string AppDataFolder()
{
#ifdef _WIN32
    if (const char* appData = std::getenv("APPDATA"); appData && *appData)
        return ToForwardSlashes(WithoutTrailingSlash(appData));
    return AbsolutePath(".");
#else
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/')
        return WithoutTrailingSlash(xdg);
    std::string home;
    if (const char* h = std::getenv("HOME"); h && *h)
        home = h;
    else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        home = pw->pw_dir;
    else
        home = AbsolutePath(".");
    return WithoutTrailingSlash(home) + "/.local/share";
#endif
}

std::string ExecutablePath()
{
#ifdef _WIN32
    return std::string();
#else
    std::error_code ec;
    const fs::path p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
#endif
}

std::vector<ProcessInfo> ProcessList()
{
    std::vector<ProcessInfo> list;
#ifndef _WIN32
    std::error_code ec;
    fs::directory_iterator it("/proc", ec);
    if (ec)
        return list;
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || !std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        const std::string dir = "/proc/" + name;
        std::vector<uint8_t> statBytes;
        if (!ReadBinaryFile(dir + "/stat", statBytes))
            continue; // the process ended meanwhile
        const std::string stat(statBytes.begin(), statBytes.end());
        // "pid (command) state ppid ...": the command may hold blanks and
        // parentheses, so the fields after it are found from the last ")".
        const size_t open = stat.find('(');
        const size_t close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close < open)
            continue;
        ProcessInfo info;
        info.id = std::atoi(name.c_str());
        int parent = 0;
        if (std::sscanf(stat.c_str() + close + 1, " %*c %d", &parent) == 1)
            info.parentId = parent;
        // The executable's own file name when we may read it; the short command
        // name (cut to 15 characters by the kernel) otherwise.
        const fs::path exe = fs::read_symlink(dir + "/exe", ec);
        if (!ec && !exe.empty()) {
            info.exeName = exe.filename().string();
            const std::string deleted = " (deleted)";
            if (info.exeName.size() > deleted.size() &&
                info.exeName.compare(info.exeName.size() - deleted.size(), deleted.size(), deleted) == 0)
                info.exeName.resize(info.exeName.size() - deleted.size());
        } else {
            info.exeName = stat.substr(open + 1, close - open - 1);
        }
        list.push_back(std::move(info));
    }
#endif
    return list;
}

// ---- UTF-8 helpers ----

void AppendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::u32string Utf8ToU32(const std::string& s)
{
    std::u32string out;
    out.reserve(s.size());
    const size_t n = s.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char b = static_cast<unsigned char>(s[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        int len = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if ((b & 0xE0) == 0xC0) {
            len = 2; c = b & 0x1F; minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            len = 3; c = b & 0x0F; minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            len = 4; c = b & 0x07; minimum = 0x10000;
        }
        bool valid = len > 0 && i + static_cast<size_t>(len) <= n;
        for (int k = 1; valid && k < len; ++k) {
            const unsigned char cont = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((cont & 0xC0) != 0x80)
                valid = false;
            else
                c = (c << 6) | (cont & 0x3F);
        }
        if (valid && (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)))
            valid = false;
        if (valid) {
            out.push_back(c);
            i += static_cast<size_t>(len);
        } else {
            out.push_back(b); // not UTF-8: the byte stands for its Latin-1 character
            ++i;
        }
    }
    return out;
}

std::string U32ToUtf8(const std::u32string& s)
{
    std::string out;
    out.reserve(s.size());
    for (char32_t c : s)
        AppendUtf8(out, c);
    return out;
}

} // namespace platform
