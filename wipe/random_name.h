// Harmless names of a chosen length, to put in place of a wiped file's own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>

namespace purgeon {

// Lowercase letters and digits drawn afresh for every name. Never a name the system keeps for a
// device ("con", "nul", "com1", ...), which no file may have.
class NameMaker {
public:
    NameMaker();
    explicit NameMaker(std::uint64_t seed) : m_generator(seed) {}
    std::wstring make(std::size_t length);

private:
    std::mt19937_64 m_generator;
};

}  // namespace purgeon
