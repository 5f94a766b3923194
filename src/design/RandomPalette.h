#pragma once

#include "design/Colour.h"

#include <QtGlobal>
#include <random>

namespace navcal::design {

// Uniform numbers in [0, 1); tests put a scripted source in.
class RandomSource {
  public:
    virtual ~RandomSource() = default;
    virtual void seed(quint64 value) = 0;
    virtual double next() = 0;
};

class MersenneRandom final : public RandomSource {
  public:
    void seed(quint64 value) override { m_engine.seed(value); }
    double next() override { return std::uniform_real_distribution<double>(0.0, 1.0)(m_engine); }

  private:
    std::mt19937_64 m_engine{0};
};

// The standard 16-colour palette.
Colour paletteColour(int index);

// The window's one source of random colours: every recolouring reaction
// draws its colour through it.
class RandomPalette {
  public:
    explicit RandomPalette(RandomSource& source) : m_source(source) {}

    // The palette colour at int(r * 16) for a uniform r in [0, 1).
    Colour draw();

  private:
    RandomSource& m_source;
};

} // namespace navcal::design
