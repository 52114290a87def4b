#pragma once
// A photo-like picture made from numbers alone: a sky with soft clouds, three ranges of
// hills, a lake that mirrors them, and film grain. Every pixel differs from its neighbours
// the way a photograph's do, so no capture path gets an easy (uniform) screen to copy.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace bench {

namespace photo_detail {

inline uint32_t Hash(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 0x8da6b343u ^ uint32_t(y) * 0xd8163841u ^ seed * 0xcb1ab31fu;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h;
}

inline float Lattice(int x, int y, uint32_t seed) { return float(Hash(x, y, seed) & 0xffff) / 65535.0f; }

inline float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }

// Value noise in 0..1 at (x, y) in lattice units.
inline float Noise(float x, float y, uint32_t seed) {
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    const float fx = Smooth(x - float(ix)), fy = Smooth(y - float(iy));
    const float a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    const float c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * fx) + ((c + (d - c) * fx) - (a + (b - a) * fx)) * fy;
}

// Fractal sum of `octaves` noises, 0..1.
inline float Fbm(float x, float y, int octaves, uint32_t seed) {
    float sum = 0, amplitude = 0.5f, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += Noise(x, y, seed + uint32_t(o) * 101u) * amplitude;
        norm += amplitude;
        x *= 2.03f;
        y *= 2.03f;
        amplitude *= 0.5f;
    }
    return sum / norm;
}

struct Rgb {
    float r, g, b;
};

inline Rgb Mix(Rgb a, Rgb b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

}  // namespace photo_detail

// The picture, width x height, 0x00RRGGBB, rows top first.
inline std::vector<uint32_t> PhotoLikePicture(int width, int height) {
    using namespace photo_detail;
    std::vector<uint32_t> pixels(size_t(width) * size_t(height));
    const float scale = 1.0f / float(std::max(1, height));
    const int horizon = height * 62 / 100;
    // Ridge lines of three ranges of hills, far to near, as heights in pixels per column.
    std::vector<float> ridge[3];
    for (int r = 0; r < 3; ++r) {
        ridge[r].resize(size_t(width));
        for (int x = 0; x < width; ++x) {
            const float f = Fbm(float(x) * scale * (2.0f + float(r) * 1.5f), float(r) * 7.3f, 6, 40u + uint32_t(r));
            ridge[r][size_t(x)] = float(horizon) - float(height) * (0.08f + 0.22f * f * (1.0f - float(r) * 0.25f));
        }
    }
    const Rgb skyTop{38, 84, 160}, skyLow{236, 178, 120}, cloud{250, 246, 240};
    const Rgb hill[3] = {{118, 128, 158}, {70, 98, 92}, {34, 62, 40}};
    const Rgb water{24, 54, 78};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float fx = float(x) * scale, fy = float(y) * scale;
            Rgb c;
            const int sy = y < horizon ? y : 2 * horizon - y;  // the lake mirrors what is above
            const float sfy = float(sy) * scale;
            c = Mix(skyTop, skyLow, float(sy) / float(std::max(1, horizon)));
            const float clouds = Fbm(fx * 3.0f, sfy * 7.0f, 5, 7u);
            c = Mix(c, cloud, (clouds - 0.52f) * 3.0f * (1.0f - float(sy) / float(horizon)));
            for (int r = 0; r < 3; ++r) {
                if (float(sy) >= ridge[r][size_t(x)]) {
                    const float shade = Fbm(fx * 9.0f, sfy * 9.0f, 4, 90u + uint32_t(r)) - 0.5f;
                    c = Mix(hill[r], {hill[r].r * 1.6f, hill[r].g * 1.5f, hill[r].b * 1.3f}, 0.5f + shade);
                }
            }
            if (y >= horizon) {
                const float ripple = Noise(fx * 6.0f, fy * 140.0f, 500u);
                c = Mix(c, water, 0.45f + 0.25f * ripple);
            }
            const float grain = float(int(Hash(x, y, 999u) & 31u) - 16);
            const auto channel = [&](float v) { return uint32_t(std::clamp(v + grain, 0.0f, 255.0f)); };
            pixels[size_t(y) * size_t(width) + size_t(x)] = channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
        }
    }
    return pixels;
}

}  // namespace bench
