#include "LocalText.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <clocale>
#include <locale.h>
#endif

#ifdef _WIN32

LocalTextScope::LocalTextScope() = default;
LocalTextScope::~LocalTextScope() = default;

std::string sameFileKey(const std::string& utf8) {
    std::wstring wide = fromUtf8(utf8).wstring();
    CharUpperBuffW(wide.data(), static_cast<DWORD>(wide.size()));
    return toUtf8(std::filesystem::path(wide));
}

std::string toLocal(const std::string& utf8) {
    const int wide = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(wide, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), wide);
    const int narrow = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, "?", nullptr);
    std::string local(narrow, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wide, local.data(), narrow, "?", nullptr);
    return local;
}

#else

LocalTextScope::LocalTextScope() {
    locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
    if (!utf8)
        utf8 = newlocale(LC_CTYPE_MASK, "en_US.UTF-8", nullptr);
    if (utf8) {
        m_utf8 = utf8;
        m_previous = uselocale(utf8);
    }
}

LocalTextScope::~LocalTextScope() {
    if (m_utf8) {
        uselocale(static_cast<locale_t>(m_previous));
        freelocale(static_cast<locale_t>(m_utf8));
    }
}

std::string toLocal(const std::string& utf8) {
    return utf8;
}

std::string sameFileKey(const std::string& utf8) {
    return utf8;
}

#endif

std::filesystem::path fromLocal(const std::string& local) {
#ifdef _WIN32
    const int size = static_cast<int>(local.size());
    std::wstring wide(MultiByteToWideChar(CP_ACP, 0, local.data(), size, nullptr, 0), L'\0');
    MultiByteToWideChar(CP_ACP, 0, local.data(), size, wide.data(), static_cast<int>(wide.size()));
    return std::filesystem::path(wide);
#else
    return std::filesystem::path(local);
#endif
}

std::filesystem::path fromUtf8(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string toUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}
