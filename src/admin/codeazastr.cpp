#include "admin/codeazastr.h"

#include <cstdint>

namespace {

// Linear congruential generator of the encoding; its whole state is one 32-bit number.
class EncodingGenerator {
public:
    explicit EncodingGenerator(uint32_t seed) : seed_(seed) {}

    // A number from 0 to bound - 1 (bound at least 1).
    uint32_t draw(uint32_t bound)
    {
        seed_ = seed_ * 134775813u + 1u;
        return static_cast<uint32_t>((static_cast<uint64_t>(seed_) * bound) >> 32);
    }

private:
    uint32_t seed_;
};

uint32_t byteSum(const QByteArray &bytes)
{
    uint32_t sum = 0;
    for (char c : bytes)
        sum += static_cast<unsigned char>(c);
    return sum;
}

} // namespace

QByteArray CodeazaStr(const QByteArray &password)
{
    if (password.isEmpty())
        return {};
    EncodingGenerator generator(byteSum(password));

    // Scatter filler bytes before existing characters; never after the last one.
    QByteArray s = password;
    const uint32_t insertions = generator.draw(30) + 6;
    for (uint32_t n = 0; n < insertions; ++n) {
        const uint32_t position = generator.draw(static_cast<uint32_t>(s.size()));
        const char filler = static_cast<char>(generator.draw(150) + 32);
        s.insert(static_cast<qsizetype>(position), filler);
    }

    // Exchange pairs of inner bytes, using the first byte as the exchange slot.
    const uint32_t exchanges = generator.draw(50) + 50;
    s.prepend(' ');
    const uint32_t length = static_cast<uint32_t>(s.size());
    for (uint32_t n = 0; n < exchanges; ++n) {
        const uint32_t i = generator.draw(length - 2) + 1; // zero-based 1 .. length-2
        const uint32_t j = generator.draw(length - 2) + 1;
        s[0] = s[i];
        s[i] = s[j];
        s[j] = s[0];
    }
    return s;
}
