#include "support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace testing_support
{

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "brindle-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    // Read-only files in tests must not keep the folder alive.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path, ignored);
}

void TempDir::Write(std::string_view name, std::string_view bytes) const
{
    std::ofstream out(path / name, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write test file");
}

std::string TempDir::Read(std::string_view name) const
{
    std::ifstream in(path / name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool TempDir::Exists(std::string_view name) const
{
    return std::filesystem::exists(path / name);
}

ScopedWorkingDir::ScopedWorkingDir(const std::filesystem::path& dir)
    : previous(std::filesystem::current_path())
{
    std::filesystem::current_path(dir);
}

ScopedWorkingDir::~ScopedWorkingDir()
{
    std::error_code ignored;
    std::filesystem::current_path(previous, ignored);
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name(name)
{
    if (const char* old = std::getenv(name))
    {
        hadValue = true;
        oldValue = old;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv()
{
    if (hadValue)
        setenv(name.c_str(), oldValue.c_str(), 1);
    else
        unsetenv(name.c_str());
}

} // namespace testing_support
