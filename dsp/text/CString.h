#pragma once

#include "CData.h"

namespace DUD {

class CStringList;

// A byte string on CData. Copies are deep and moves cheap.
//
// The two-operand operators (+, *, and - with a count or a text) return the
// one shared result tempstr, which the next such operator overwrites: keep a
// result by copying it (CString r = a + b;). A result may itself be an operand
// of the next operator (a + b + c), but an expression that needs two results
// at once, such as (a + b) == (c + d), compares tempstr with itself.
class CString : public CData {
public:
    CString();
    explicit CString(const char* text);
    CString(const CString& other);
    CString(CString&& other) noexcept;
    CString& operator=(CString&& other) noexcept;
    ~CString() override;

    int ClassCount() const override;
    const char* String() const override;
    const char* XML(int indent) const override;

    virtual CString& operator=(const CString& other);
    virtual CString& operator=(char* text);
    // Returns the new length.
    virtual int operator=(const char* text);
    virtual CString& operator=(int value);
    virtual CString& operator=(double value);
    // The byte at index; outside the string a scratch byte set to 0.
    virtual char& operator[](int index);

    // Comparisons of the Data() texts; a null text compares as "(null*)".
    virtual bool operator==(const char* text) const;
    virtual bool operator==(const CString& other) const;
    virtual bool operator!=(const CString& other) const;
    virtual bool operator!=(const char* text) const;
    virtual bool operator<(const CString& other) const;
    virtual bool operator>(const CString& other) const;
    virtual bool operator<=(const CString& other) const;
    virtual bool operator>=(const CString& other) const;

    virtual CString& operator+=(const CString& other);
    virtual CString& operator+=(const char* text);
    virtual CString& operator+=(char c);
    virtual CString& operator+=(int value);
    virtual CString& operator+=(double value);
    // Removes every occurrence of the text.
    virtual CString& operator-=(const char* text);
    // Drops the last n bytes.
    virtual CString& operator-=(int n);

    virtual const CString& operator+(const CString& other) const;
    virtual const CString& operator+(const char* text) const;
    virtual const CString& operator+(int value) const;
    virtual const CString& operator+(double value) const;
    virtual const CString& operator*(int n) const;
    virtual const CString& operator-(int n) const;
    virtual const CString& operator-(const char* text) const;

    // Writes the text n times to standard output; returns 0.
    virtual int operator>>(int n) const;
    // Loads the whole file at path; returns the new length.
    virtual int operator<<(const char* path);
    // Saves the bytes to the file at path; returns 0.
    virtual int operator>>(const char* path) const;

    virtual signed char At(int index) const;
    virtual signed char First() const;
    virtual signed char Last() const;
    // Index of the first occurrence of text at or after start, or -1.
    virtual int Find(const char* text, int start) const;
    virtual bool Replace(const char* find, const char* replacement, int start, bool all);
    virtual bool Insert(int position, const char* text);
    // Up to n bytes from start in the shared rendering result, or null.
    virtual const char* SubStr(int start, int n) const;
    virtual void Trim();
    virtual void TrimLeft();
    virtual void TrimRight();
    // Appends the pieces between separators to list (emptied first when
    // start is 0) and returns its count; -1 for a null separator or list, an
    // empty string, or no memory for a piece.
    virtual int Split(const char* separator, CStringList* list, int max, int start) const;
    virtual void Uppercase();
    virtual void Lowercase();
    virtual void Revertcase();
    virtual int Integer() const;
    virtual int HexToInt() const;
    virtual float Float() const;
    virtual double Double() const;
    virtual bool ToBool() const;
    // Each byte widened to a code unit, in a shared result; null when empty.
    virtual const char32_t* Unicode() const;
    virtual void Decode();
    // Turns the string into the hexadecimal text of its bytes.
    virtual void Encode();
    virtual bool IsASCII() const;
    virtual bool IsKeyword() const;
    virtual const char* c_str() const;

    // Drops the contents and, for n > 0, holds n zero bytes.
    void reassign(int n);

private:
    void init();
    // Stores result as tempstr and returns it.
    static const CString& Keep(CString&& result);
    static CString Joined(std::string_view head, std::string_view tail);
    int Compare(const char* text) const;

    static int count;
    static CString tempstr;
    static char nirvana;
};

} // namespace DUD
