// wsprintfA: the formatting of USER32, not of the C library.  Conversions
// c d i u x X s p %, flags - 0 #, widths and precisions, the h and l size
// prefixes; no floating point.  Never stores more than 1024 bytes, the
// terminator included, as the documented buffer limit says.
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>

namespace {

constexpr int kLimit = 1024;

struct Output {
    char *buffer;
    int length = 0;
    void put(char c)
    {
        if (length < kLimit - 1)
            buffer[length++] = c;
    }
    void pad(char c, int n)
    {
        for (int i = 0; i < n; i++)
            put(c);
    }
};

struct Conversion {
    bool left = false, zero = false, alt = false;
    int width = 0;
    int precision = -1;
};

void emit(Output &out, const Conversion &conv, const char *text, int len, const char *prefix = "")
{
    int prefix_len = (int)std::strlen(prefix);
    int fill = conv.width - len - prefix_len;
    if (!conv.left && !conv.zero)
        out.pad(' ', fill);
    for (int i = 0; i < prefix_len; i++)
        out.put(prefix[i]);
    if (!conv.left && conv.zero)
        out.pad('0', fill);
    for (int i = 0; i < len; i++)
        out.put(text[i]);
    if (conv.left)
        out.pad(' ', fill);
}

int digits(char *out, unsigned long long v, unsigned base, bool upper)
{
    char tmp[32];
    int n = 0;
    do {
        unsigned d = (unsigned)(v % base);
        tmp[n++] = (char)(d < 10 ? '0' + d : (upper ? 'A' : 'a') + d - 10);
        v /= base;
    } while (v != 0);
    for (int i = 0; i < n; i++)
        out[i] = tmp[n - 1 - i];
    return n;
}

void emit_number(Output &out, Conversion conv, unsigned long long magnitude, bool negative, unsigned base, bool upper)
{
    char text[40];
    int len = digits(text, magnitude, base, upper);
    if (conv.precision >= 0) { // at least that many digits
        conv.zero = false;
        int extra = conv.precision - len;
        if (extra > 0) {
            std::memmove(text + extra, text, (size_t)len);
            std::memset(text, '0', (size_t)extra);
            len += extra;
        }
    }
    const char *prefix = negative ? "-" : "";
    if (conv.alt && base == 16 && magnitude != 0)
        prefix = upper ? "0X" : "0x";
    emit(out, conv, text, len, prefix);
}

// Flags, width, precision and size prefix after a '%'; `p` is left on the
// conversion letter.  Widths past the buffer limit cannot matter: capped.
Conversion parse_conversion(const char *&p)
{
    Conversion conv;
    for (;; p++) {
        if (*p == '-')
            conv.left = true;
        else if (*p == '0')
            conv.zero = true;
        else if (*p == '#')
            conv.alt = true;
        else
            break;
    }
    for (; *p >= '0' && *p <= '9'; p++)
        conv.width = std::min(conv.width * 10 + (*p - '0'), kLimit);
    if (*p == '.') {
        conv.precision = 0;
        for (p++; *p >= '0' && *p <= '9'; p++)
            conv.precision = std::min(conv.precision * 10 + (*p - '0'), kLimit);
    }
    if (*p == 'l' || *p == 'h')
        p++;
    return conv;
}

// One conversion; false for a letter wsprintfA does not know.
bool format_conversion(Output &out, const Conversion &conv, char letter, va_list *args)
{
    switch (letter) {
    case '%':
        out.put('%');
        return true;
    case 'c':
    case 'C': {
        char c = (char)va_arg(*args, int);
        emit(out, conv, &c, 1);
        return true;
    }
    case 'd':
    case 'i': {
        // LONG is 32 bits here as on Windows, so %ld takes an int too.
        long long v = (long long)va_arg(*args, int);
        unsigned long long m = v < 0 ? 0ULL - (unsigned long long)v : (unsigned long long)v;
        emit_number(out, conv, m, v < 0, 10, false);
        return true;
    }
    case 'u':
    case 'x':
    case 'X': {
        unsigned long long v = (unsigned long long)va_arg(*args, unsigned int);
        emit_number(out, conv, v, false, letter == 'u' ? 10 : 16, letter == 'X');
        return true;
    }
    case 'p': {
        void *v = va_arg(*args, void *);
        Conversion ps = conv;
        ps.zero = true;
        ps.width = (int)sizeof(void *) * 2;
        emit_number(out, ps, (unsigned long long)(uintptr_t)v, false, 16, true);
        return true;
    }
    case 's':
    case 'S': {
        const char *s = va_arg(*args, const char *);
        if (s == nullptr)
            s = "(null)";
        int len = 0;
        while (s[len] != 0 && (conv.precision < 0 || len < conv.precision))
            len++;
        emit(out, conv, s, len);
        return true;
    }
    }
    return false;
}

} // namespace

extern "C" int WINAPIV wsprintfA(LPSTR buffer, LPCSTR format, ...)
{
    if (buffer == nullptr || format == nullptr)
        return 0;
    Output out{buffer};
    va_list args;
    va_start(args, format);
    for (const char *p = format; *p != 0; p++) {
        if (*p != '%') {
            out.put(*p);
            continue;
        }
        const char *start = p++;
        Conversion conv = parse_conversion(p);
        if (*p == 0) { // a lone % at the end
            p--;
            continue;
        }
        if (!format_conversion(out, conv, *p, &args))
            for (const char *q = start; q <= p; q++) // unknown: copied as it stands
                out.put(*q);
    }
    va_end(args);
    out.buffer[out.length] = 0;
    return out.length;
}
