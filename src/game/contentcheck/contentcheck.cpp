#include "game/contentcheck/contentcheck.h"

#include "app/platform/core/files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace contentcheck {

namespace {

bool StartsWithNoCase(const std::string& s, const std::string& prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to)
{
    for (size_t pos = s.find(from); pos != std::string::npos; pos = s.find(from, pos + to.size()))
        s.replace(pos, from.size(), to);
}

} // namespace

std::string FormatProblem(const Problem& p)
{
    return p.file + ":" + std::to_string(p.line) + ": " + (p.severity == Severity::Warning ? "warning: " : "") +
           p.message;
}

Context::Context(std::string gameDir) : gameDir_(std::move(gameDir))
{
    if (gameDir_.empty())
        gameDir_ = "Game/";
    if (gameDir_.back() != '/')
        gameDir_ += '/';
}

std::string Context::LanguageRoot() const
{
    return language_.empty() ? std::string() : gameDir_ + "Local/" + language_ + "/";
}

void Context::Error(const std::string& file, int line, const std::string& message)
{
    problems_.push_back({file, line, message, Severity::Error});
}

void Context::Warning(const std::string& file, int line, const std::string& message)
{
    problems_.push_back({file, line, message, Severity::Warning});
}

int Context::Errors() const
{
    return static_cast<int>(std::count_if(problems_.begin(), problems_.end(),
                                          [](const Problem& p) { return p.severity == Severity::Error; }));
}

std::string Context::Resolve(const std::string& path, bool* caseOnly) const
{
    bool mismatch = false;
    std::string onDisk = platform::ResolvePath(path, &mismatch);
    if (caseOnly)
        *caseOnly = mismatch;
    return platform::FileType(onDisk) == 1 ? onDisk : std::string();
}

std::string Context::DataPath(const std::string& written) const
{
    std::string p = written;
    ReplaceAll(p, "[BDIR]", gameDir_);
    ReplaceAll(p, "[LANG]", gameDir_);
    std::replace(p.begin(), p.end(), '\\', '/');
    // Data files name the game folder "Game/"; a check of another folder reads
    // the same relative path there.
    if (gameDir_ != "Game/" && StartsWithNoCase(p, "Game/"))
        p = gameDir_ + p.substr(5);
    return p;
}

bool Context::IsGamePath(const std::string& value)
{
    return StartsWithNoCase(value, "[BDIR]") || StartsWithNoCase(value, "[LANG]") || StartsWithNoCase(value, "Game/");
}

std::string Context::KindOfFile(const std::string& path)
{
    std::string ext = platform::Extension(path);
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (ext == "png" || ext == "jpg" || ext == "jpeg")
        return "picture";
    if (ext == "ogg" || ext == "wav")
        return "sound";
    if (ext == "ttf")
        return "font";
    return "file";
}

bool Context::RequireFile(const std::string& path, const std::string& fromFile, int line, const std::string& what)
{
    if (!referenced_.insert(fromFile + "\n" + std::to_string(line) + "\n" + path).second)
        return !Resolve(path).empty();
    bool caseOnly = false;
    std::string found = Resolve(path, &caseOnly);
    if (found.empty()) {
        Error(fromFile, line, what + " \"" + path + "\" does not exist");
        return false;
    }
    if (caseOnly)
        Warning(fromFile, line,
                what + " \"" + path + "\" exists only as \"" + found + "\" (letter case differs; fine on Windows, "
                "found here only by the case-insensitive lookup)");
    return true;
}

int RunContentCheck(const std::string& gameDir, std::ostream& out)
{
    Context ctx(gameDir);
    if (platform::FileType(ctx.GameDir()) != 2) {
        out << ctx.GameDir() << ":0: the game folder does not exist\n";
        out << "content check: 1 error\n";
        return 1;
    }
    for (const ContentCheck& check : ContentChecks())
        check.run(ctx);
    for (const Problem& p : ctx.Problems())
        out << FormatProblem(p) << "\n";
    const int errors = ctx.Errors();
    const int warnings = static_cast<int>(ctx.Problems().size()) - errors;
    out << "content check of " << ctx.GameDir() << ": " << errors << (errors == 1 ? " error" : " errors") << ", "
        << warnings << (warnings == 1 ? " warning" : " warnings") << "\n";
    return errors == 0 ? 0 : 1;
}

} // namespace contentcheck
