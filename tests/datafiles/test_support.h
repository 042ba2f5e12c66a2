// Shared helpers for the data-file tests: a console capture and a temporary folder.
#pragma once

#include "app/platform/core/system.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

struct LogCapture {
    std::vector<std::string> lines;
    LogCapture() { platform::SetLogSink([this](const std::string& l) { lines.push_back(l); }); }
    ~LogCapture() { platform::SetLogSink({}); }
    bool Contains(const std::string& part) const
    {
        for (const auto& l : lines)
            if (l.find(part) != std::string::npos)
                return true;
        return false;
    }
};

class TempDir {
public:
    TempDir()
    {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vm_data_XXXXXX").string();
        std::vector<char> buf(tmpl.begin(), tmpl.end());
        buf.push_back('\0');
        path_ = ::mkdtemp(buf.data());
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }
    const std::string& str() const { return path_; }

private:
    std::string path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
