#include "CString.h"

#include "CStringList.h"
#include "Console.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace DUD {

namespace {

constexpr std::string_view kBlanks = " \t\r\n";

// A number formatted the way the string operators format it ("%d", "%f").
class NumberText {
public:
    explicit NumberText(int value) : size(Size(std::snprintf(text, sizeof text, "%d", value))) {}
    explicit NumberText(double value) : size(Size(std::snprintf(text, sizeof text, "%f", value))) {}
    std::string_view View() const { return {text, size}; }

private:
    static std::size_t Size(int written) { return written > 0 ? static_cast<std::size_t>(written) : 0; }

    // Room for "%f" of the largest double (309 digits, a sign, a point and six decimals).
    char text[330]{};
    std::size_t size;
};

int Clamped(long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

int CString::count = 0;
CString CString::tempstr;
char CString::nirvana = 0;

CString::CString()
{
    init();
}

CString::CString(const char* text)
{
    init();
    if (text)
        Compose({text});
}

CString::CString(const CString& other) : CData(other)
{
    init();
}

CString::CString(CString&& other) noexcept : CData(std::move(other))
{
    init();
}

CString& CString::operator=(CString&& other) noexcept
{
    CData::operator=(std::move(other));
    return *this;
}

CString::~CString()
{
    --count;
}

void CString::init()
{
    className = "CString";
    ++count;
}

int CString::ClassCount() const { return count; }
const char* CString::String() const { return Data(); }

const char* CString::XML(int indent) const
{
    if (Empty())
        return "<CData>\n\tundefined</CData>";
    return Element("CString", "UTF8", Bytes(), indent);
}

CString& CString::operator=(const CString& other)
{
    if (!Compose({other.Bytes()}))
        Clear();
    return *this;
}

CString& CString::operator=(char* text)
{
    *this = static_cast<const char*>(text);
    return *this;
}

int CString::operator=(const char* text)
{
    if (!text || !Compose({text}))
        Clear();
    return length;
}

CString& CString::operator=(int value)
{
    if (!Compose({NumberText(value).View()}))
        Clear();
    return *this;
}

CString& CString::operator=(double value)
{
    if (!Compose({NumberText(value).View()}))
        Clear();
    return *this;
}

char& CString::operator[](int index)
{
    if (index < 0 || index >= length) {
        nirvana = 0;
        return nirvana;
    }
    return data[index];
}

int CString::Compare(const char* text) const
{
    return std::strcmp(Data(), text ? text : kNullText);
}

bool CString::operator==(const char* text) const { return Compare(text) == 0; }
bool CString::operator==(const CString& other) const { return Compare(other.Data()) == 0; }
bool CString::operator!=(const CString& other) const { return Compare(other.Data()) != 0; }
bool CString::operator!=(const char* text) const { return Compare(text) != 0; }
bool CString::operator<(const CString& other) const { return Compare(other.Data()) < 0; }
bool CString::operator>(const CString& other) const { return Compare(other.Data()) > 0; }
bool CString::operator<=(const CString& other) const { return Compare(other.Data()) <= 0; }
bool CString::operator>=(const CString& other) const { return Compare(other.Data()) >= 0; }

CString& CString::operator+=(const CString& other)
{
    Compose({Bytes(), other.Bytes()});
    return *this;
}

CString& CString::operator+=(const char* text)
{
    if (text)
        Compose({Bytes(), text});
    return *this;
}

CString& CString::operator+=(char c)
{
    Compose({Bytes(), {&c, 1}});
    return *this;
}

CString& CString::operator+=(int value)
{
    Compose({Bytes(), NumberText(value).View()});
    return *this;
}

CString& CString::operator+=(double value)
{
    Compose({Bytes(), NumberText(value).View()});
    return *this;
}

CString& CString::operator-=(const char* text)
{
    Replace(text, nullptr, 0, true);
    return *this;
}

CString& CString::operator-=(int n)
{
    if (n >= length)
        Clear();
    else if (n >= 1)
        Compose({Bytes().substr(0, static_cast<std::size_t>(length - n))});
    return *this;
}

const CString& CString::Keep(CString&& result)
{
    tempstr = std::move(result);
    return tempstr;
}

CString CString::Joined(std::string_view head, std::string_view tail)
{
    CString result;
    result.Compose({head, tail});
    return result;
}

const CString& CString::operator+(const CString& other) const
{
    if (other.Empty())
        return *this;
    return Keep(Joined(Bytes(), other.Bytes()));
}

const CString& CString::operator+(const char* text) const
{
    if (StrLen(text) == 0)
        return *this;
    return Keep(Joined(Bytes(), text));
}

const CString& CString::operator+(int value) const
{
    return Keep(Joined(Bytes(), NumberText(value).View()));
}

const CString& CString::operator+(double value) const
{
    return Keep(Joined(Bytes(), NumberText(value).View()));
}

const CString& CString::operator*(int n) const
{
    if (n < 2)
        return *this;
    CString result;
    const auto size = static_cast<std::size_t>(length);
    if (size > 0 && static_cast<std::size_t>(n) <= (INT_MAX - 4) / size) {
        if (char* storage = Allocate(size * static_cast<std::size_t>(n))) {
            for (int i = 0; i < n; ++i)
                std::memcpy(storage + size * static_cast<std::size_t>(i), data, size);
            result.Adopt(storage, static_cast<int>(size) * n);
        }
    }
    return Keep(std::move(result));
}

const CString& CString::operator-(int n) const
{
    if (n < 1)
        return *this;
    if (n >= length)
        return Keep(CString());
    return Keep(Joined(Bytes().substr(0, static_cast<std::size_t>(length - n)), {}));
}

const CString& CString::operator-(const char* text) const
{
    if (!text)
        return *this;
    CString result(*this);
    result.Replace(text, nullptr, 0, true);
    return Keep(std::move(result));
}

int CString::operator>>(int n) const
{
    if (!Empty()) {
        for (int i = 0; i < n; ++i)
            std::printf("%s", data);
        std::fflush(stdout);
    }
    return 0;
}

int CString::operator<<(const char* path)
{
    if (!path)
        return 0;
    Clear();
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        Console::print("\nERROR: File '" + std::string(path) + "' could not be opened for loading.");
        return 0;
    }
    const long size = std::fseek(file, 0, SEEK_END) == 0 ? std::ftell(file) : -1;
    std::rewind(file);
    long read = 0;
    if (size > 0) {
        if (char* storage = Allocate(static_cast<std::size_t>(size))) {
            read = static_cast<long>(std::fread(storage, 1, static_cast<std::size_t>(size), file));
            Adopt(storage, static_cast<int>(size));
        }
    }
    std::fclose(file);
    if (size < 0 || read < size) {
        // Keep the bytes that did arrive, and only those.
        *this -= length - static_cast<int>(read);
        Console::print("\nERROR: While reading file.");
    }
    return length;
}

int CString::operator>>(const char* path) const
{
    if (!path)
        return 0;
    if (Empty()) {
        Console::print("\nError: String object is empty.");
    } else if (std::FILE* file = std::fopen(path, "wb"); !file) {
        Console::print("\nERROR: File '" + std::string(path) + "' could not be opened for saving.");
    } else {
        const std::size_t written = std::fwrite(data, 1, static_cast<std::size_t>(length), file);
        // Buffered bytes can still fail to arrive when the file is closed.
        const bool closed = std::fclose(file) == 0;
        if (written < static_cast<std::size_t>(length) || !closed)
            Console::print("\nERROR: While writing file.");
    }
    return 0;
}

signed char CString::At(int index) const
{
    if (index < 0 || index >= length)
        return 0;
    return static_cast<signed char>(data[index]);
}

signed char CString::First() const { return At(0); }
signed char CString::Last() const { return At(length - 1); }

int CString::Find(const char* text, int start) const
{
    if (start < 0)
        start = 0;
    if (StrLen(text) == 0 || start >= length)
        return -1;
    const std::size_t found = Bytes().find(text, static_cast<std::size_t>(start));
    return found == std::string_view::npos ? -1 : static_cast<int>(found);
}

bool CString::Replace(const char* find, const char* replacement, int start, bool all)
{
    if (Empty() || !find || (replacement && std::strcmp(find, replacement) == 0))
        return false;
    const int first = Find(find, start);
    if (first < 0)
        return false;
    // Find every occurrence first: find and replacement may point into our own bytes.
    const std::string_view text = Bytes(), pattern = find, substitute = replacement ? replacement : "";
    std::size_t hits = 0;
    for (std::size_t at = static_cast<std::size_t>(first); at != std::string_view::npos;
         at = all ? text.find(pattern, at + pattern.size()) : std::string_view::npos)
        ++hits;
    const std::size_t size = text.size() - hits * pattern.size() + hits * substitute.size();
    char* storage = size > 0 ? Allocate(size) : nullptr;
    if (size > 0 && !storage)
        return false;
    char* out = storage;
    std::size_t from = 0;
    for (std::size_t at = static_cast<std::size_t>(first); hits > 0; --hits, at = text.find(pattern, from)) {
        out = std::copy(text.begin() + static_cast<std::ptrdiff_t>(from), text.begin() + static_cast<std::ptrdiff_t>(at), out);
        out = std::copy(substitute.begin(), substitute.end(), out);
        from = at + pattern.size();
    }
    std::copy(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), out);
    Adopt(storage, static_cast<int>(size));
    return true;
}

bool CString::Insert(int position, const char* text)
{
    if (position < 0 || position >= length || StrLen(text) == 0)
        return false;
    const std::string_view bytes = Bytes();
    const auto at = static_cast<std::size_t>(position);
    return Compose({bytes.substr(0, at), text, bytes.substr(at)});
}

const char* CString::SubStr(int start, int n) const
{
    if (start < 0 || start >= length || n <= 0)
        return nullptr;
    const std::string_view piece = Bytes().substr(static_cast<std::size_t>(start), static_cast<std::size_t>(n));
    char* text = static_cast<char*>(CAlloc(piece.size() + 1, 1));
    if (!text)
        return nullptr;
    std::memcpy(text, piece.data(), piece.size());
    return KeepResult(text);
}

void CString::Trim()
{
    TrimLeft();
    TrimRight();
}

void CString::TrimLeft()
{
    const std::size_t first = Bytes().find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        Clear();
    else if (first > 0)
        Compose({Bytes().substr(first)});
}

void CString::TrimRight()
{
    const std::size_t last = Bytes().find_last_not_of(kBlanks);
    if (last == std::string_view::npos)
        Clear();
    else if (last + 1 < Bytes().size())
        Compose({Bytes().substr(0, last + 1)});
}

int CString::Split(const char* separator, CStringList* list, int max, int start) const
{
    if (!separator || !list || Empty())
        return -1;
    if (start <= 0) {
        start = 0;
        list->Clear();
    }
    const std::string_view text = Bytes();
    const std::size_t step = std::strlen(separator);
    while (start < length && !(max >= 1 && list->Count() >= max)) {
        const int found = Find(separator, start);
        const int end = found < 0 ? length : found;
        // Adjacent separators make no empty piece.
        if (end > start && !list->Add(text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start))))
            return -1;
        if (found < 0)
            break;
        start = found + static_cast<int>(step);
    }
    return list->Count();
}

void CString::Uppercase()
{
    for (int i = 0; i < length; ++i)
        if (data[i] >= 'a' && data[i] <= 'z')
            data[i] = static_cast<char>(data[i] - 'a' + 'A');
}

void CString::Lowercase()
{
    for (int i = 0; i < length; ++i)
        if (data[i] >= 'A' && data[i] <= 'Z')
            data[i] = static_cast<char>(data[i] - 'A' + 'a');
}

void CString::Revertcase()
{
    for (int i = 0; i < length; ++i)
        if (IsAsciiLetter(data[i]))
            data[i] = static_cast<char>(data[i] ^ 0x20);
}

int CString::Integer() const
{
    return Empty() ? 0 : Clamped(std::strtol(data, nullptr, 10));
}

int CString::HexToInt() const
{
    return Empty() ? 0 : Clamped(std::strtol(data, nullptr, 16));
}

float CString::Float() const
{
    return Empty() ? 0.0f : std::strtof(data, nullptr);
}

double CString::Double() const
{
    return Empty() ? 0.0 : std::strtod(data, nullptr);
}

bool CString::ToBool() const
{
    return !Empty();
}

const char32_t* CString::Unicode() const
{
    if (Empty())
        return nullptr;
    auto* wide = static_cast<char32_t*>(CAlloc(static_cast<std::size_t>(length) + 1, sizeof(char32_t)));
    if (!wide)
        return nullptr;
    for (int i = 0; i < length; ++i)
        wide[i] = static_cast<unsigned char>(data[i]);
    return KeepWideResult(wide);
}

void CString::Decode()
{
    // Encode's hexadecimal text is kept as it is: there is no way back.
}

void CString::Encode()
{
    if (Empty())
        return;
    if (const char* hex = Hex2(); hex != kOutOfMemory)
        Compose({hex});
}

bool CString::IsASCII() const
{
    for (const char* c = Data(); *c != '\0'; ++c)
        if (static_cast<unsigned char>(*c) & 0x80)
            return false;
    return true;
}

bool CString::IsKeyword() const
{
    if (Empty())
        return true;
    if (IsAsciiDigit(data[0]))
        return false;
    for (int i = 0; i < length; ++i)
        if (!IsAsciiLetter(data[i]) && !IsAsciiDigit(data[i]))
            return false;
    return true;
}

const char* CString::c_str() const
{
    return Data();
}

void CString::reassign(int n)
{
    Clear();
    if (n > 0)
        Adopt(Allocate(static_cast<std::size_t>(n)), n);
}

} // namespace DUD
