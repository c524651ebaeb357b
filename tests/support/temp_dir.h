// A temporary folder for a test, removed with everything in it at the end,
// and a scope that makes it the working directory.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support
{

class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return path; }
    std::filesystem::path operator/(std::string_view name) const { return path / name; }

    void Write(std::string_view name, std::string_view bytes) const;
    std::string Read(std::string_view name) const;
    bool Exists(std::string_view name) const;

private:
    std::filesystem::path path;
};

// Makes a folder the working directory for the life of the object.
class ScopedWorkingDir
{
public:
    explicit ScopedWorkingDir(const std::filesystem::path& dir);
    ~ScopedWorkingDir();
    ScopedWorkingDir(const ScopedWorkingDir&) = delete;
    ScopedWorkingDir& operator=(const ScopedWorkingDir&) = delete;

private:
    std::filesystem::path previous;
};

// Sets an environment variable for the life of the object.
class ScopedEnv
{
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name;
    bool hadValue = false;
    std::string oldValue;
};

} // namespace testing_support
