#pragma once

#include <filesystem>
#include <string>

// Texts between the library and its caller are in the system's local 8-bit code page (UTF-8 on Linux, the ANSI
// page on Windows); inside, names are UTF-8.

// While it lives, the thread converts names in a UTF-8 character set, which libarchive needs to turn names
// stored in the DOS code page into UTF-8.
class LocalTextScope {
public:
    LocalTextScope();
    ~LocalTextScope();
    LocalTextScope(const LocalTextScope&) = delete;
    LocalTextScope& operator=(const LocalTextScope&) = delete;

private:
    void* m_previous = nullptr;
    void* m_utf8 = nullptr;
};

std::string toLocal(const std::string& utf8);
std::filesystem::path fromLocal(const std::string& local);
std::filesystem::path fromUtf8(const std::string& utf8);
std::string toUtf8(const std::filesystem::path& path);
// Names with the same key are one file on this system: on Windows, names equal but for case.
std::string sameFileKey(const std::string& utf8);
