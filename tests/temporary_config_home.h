#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

// Points XDG_CONFIG_HOME at a fresh, empty folder for the life of a test.
class TemporaryConfigHome {
  public:
    TemporaryConfigHome() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillmesh-test.XXXXXX").string();
        path_ = mkdtemp(pattern.data());
        setenv("XDG_CONFIG_HOME", path_.c_str(), 1);
    }
    ~TemporaryConfigHome() {
        unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(path_);
    }
    TemporaryConfigHome(const TemporaryConfigHome&) = delete;
    TemporaryConfigHome& operator=(const TemporaryConfigHome&) = delete;

    std::filesystem::path settingsFile() const { return path_ / "quillmesh" / "settings"; }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};
