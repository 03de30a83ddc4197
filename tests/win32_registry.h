#pragma once

#include <cstdlib>
#include <string>

// Sets registry values from outside the code under test, with the platform's own reg tool.
inline const std::string productKey = "HKCU\\Software\\Halvorn\\Brisco's Quillmesh";
inline const std::string platformKey =
    "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Screen Savers";

inline int reg(const std::string& arguments) {
    return std::system(("reg " + arguments + " >NUL 2>&1").c_str());
}

inline void deleteKey(const std::string& key) {
    reg("delete \"" + key + "\" /f");
}

inline int addValue(const std::string& key, const std::string& name, const std::string& type,
                    const std::string& data) {
    return reg("add \"" + key + "\" /v \"" + name + "\" /t " + type + " /d " + data + " /f");
}
