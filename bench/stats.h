// Median and spread of repeated measurements, as Markdown table rows.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

struct Summary {
    double median = 0, min = 0, max = 0;
    size_t n = 0;
};

inline Summary summarise(std::vector<double> v)
{
    Summary s;
    s.n = v.size();
    if (v.empty())
        return s;
    std::sort(v.begin(), v.end());
    s.median = v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    s.min = v.front();
    s.max = v.back();
    return s;
}

inline std::string fixed(double v, int digits)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", digits, v);
    return buf;
}

// | figure | median | spread (min to max) | runs | note |
inline void row(const std::string &figure, const std::vector<double> &values, const std::string &unit, int digits,
                const std::string &note = "")
{
    Summary s = summarise(values);
    std::printf("| %s | %s %s | %s to %s | %zu | %s |\n", figure.c_str(), fixed(s.median, digits).c_str(), unit.c_str(),
                fixed(s.min, digits).c_str(), fixed(s.max, digits).c_str(), s.n, note.c_str());
}

inline void header()
{
    std::printf("| figure | median | spread (min to max) | runs | note |\n|---|---|---|---|---|\n");
}

} // namespace bench
