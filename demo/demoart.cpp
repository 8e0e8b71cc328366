#include "demoart.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace demo {

std::uint64_t SeedOf(std::string_view text)
{
    std::uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::uint64_t Dice::Next()
{
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
}

int Dice::Range(int lo, int hi)
{
    if (hi <= lo) return lo;
    return lo + static_cast<int>(Next() % static_cast<std::uint64_t>(hi - lo + 1));
}

double Dice::Unit()
{
    return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

namespace {

constexpr float kPi = 3.14159265f;

struct Rgb
{
    float r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// Hue in turns (any real number), saturation and value 0..1.
Rgb Hsv(float h, float s, float v)
{
    h = h - std::floor(h);
    const float f = h * 6.f;
    const int i = static_cast<int>(f) % 6;
    const float p = v * (1 - s), q = v * (1 - s * (f - std::floor(f))),
                t = v * (1 - s * (1 - (f - std::floor(f))));
    switch (i) {
    case 0:
        return {v, t, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, t};
    case 3:
        return {p, q, v};
    case 4:
        return {t, p, v};
    default:
        return {v, p, q};
    }
}

const Rgb kWhite{1, 1, 1};
const Rgb kBlack{0, 0, 0};

struct Pt
{
    float x, y;
};

// Signed distance from p to a simple polygon (negative inside), after Inigo Quilez.
float PolygonDistance(const std::vector<Pt>& v, Pt p)
{
    float d = (p.x - v[0].x) * (p.x - v[0].x) + (p.y - v[0].y) * (p.y - v[0].y);
    float s = 1;
    for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i, ++i) {
        const Pt e{v[j].x - v[i].x, v[j].y - v[i].y};
        const Pt w{p.x - v[i].x, p.y - v[i].y};
        const float t = std::clamp((w.x * e.x + w.y * e.y) / (e.x * e.x + e.y * e.y), 0.f, 1.f);
        const Pt b{w.x - e.x * t, w.y - e.y * t};
        d = std::min(d, b.x * b.x + b.y * b.y);
        const bool c1 = p.y >= v[i].y, c2 = p.y<v[j].y, c3 = e.x * w.y> e.y * w.x;
        if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) s = -s;
    }
    return s * std::sqrt(d);
}

// Floating-point pixels with shapes drawn by their distance functions, so edges are smooth
// without supersampling; the pictures are small and many, and must be made in moments.
class Canvas
{
public:
    Canvas(int w, int h) : w_(w), h_(h), px_(static_cast<size_t>(w) * h) {}
    int W() const { return w_; }
    int H() const { return h_; }
    float Min() const { return static_cast<float>(std::min(w_, h_)); }

    void Blend(int x, int y, Rgb c, float a)
    {
        if (x < 0 || y < 0 || x >= w_ || y >= h_ || a <= 0) return;
        Rgb& p = px_[static_cast<size_t>(y) * w_ + x];
        p = Mix(p, c, std::min(a, 1.f));
    }

    // From colour a at the start of the direction `angle` (radians) to b at its end.
    void Gradient(Rgb a, Rgb b, float angle)
    {
        const float dx = std::cos(angle), dy = std::sin(angle);
        const float lo = std::min(0.f, dx * w_) + std::min(0.f, dy * h_);
        const float hi = std::max(0.f, dx * w_) + std::max(0.f, dy * h_);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x)
                px_[static_cast<size_t>(y) * w_ + x] =
                    Mix(a, b, ((x + .5f) * dx + (y + .5f) * dy - lo) / (hi - lo));
    }

    void VerticalGradient(Rgb top, Rgb bottom, float y0, float y1)
    {
        for (int y = std::max(0, static_cast<int>(y0)); y < std::min(h_, static_cast<int>(y1) + 1);
             ++y) {
            const float t = std::clamp((y + .5f - y0) / std::max(1.f, y1 - y0), 0.f, 1.f);
            const float cover = std::clamp(std::min(y + 1 - y0, y1 - y), 0.f, 1.f);
            for (int x = 0; x < w_; ++x)
                Blend(x, y, Mix(top, bottom, t), cover);
        }
    }

    // Parallel bands across the whole picture.
    void Stripes(Rgb c, float alpha, float angle, float period, float duty)
    {
        const float dx = std::cos(angle), dy = std::sin(angle);
        for (int y = 0; y < h_; ++y)
            for (int x = 0; x < w_; ++x) {
                float u = ((x + .5f) * dx + (y + .5f) * dy) / period;
                u -= std::floor(u);
                const float edge = std::min(u, duty - u) * period;
                if (u < duty) Blend(x, y, c, alpha * std::clamp(edge + .5f, 0.f, 1.f));
            }
    }

    template <class Distance>
    void Fill(float x0, float y0, float x1, float y1, Distance distance, Rgb c, float a)
    {
        const int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
        const int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
        const int ix1 = std::min(w_ - 1, static_cast<int>(std::ceil(x1)) + 1);
        const int iy1 = std::min(h_ - 1, static_cast<int>(std::ceil(y1)) + 1);
        for (int y = iy0; y <= iy1; ++y)
            for (int x = ix0; x <= ix1; ++x) {
                const float d = distance(Pt{x + .5f, y + .5f});
                if (d < .5f) Blend(x, y, c, a * std::clamp(.5f - d, 0.f, 1.f));
            }
    }

    void Rect(float x0, float y0, float x1, float y1, Rgb c, float a = 1)
    {
        RoundRect(x0, y0, x1, y1, 0, c, a);
    }

    void RoundRect(float x0, float y0, float x1, float y1, float radius, Rgb c, float a = 1)
    {
        const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
        const float hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
        Fill(
            x0, y0, x1, y1,
            [&](Pt p) {
                const float qx = std::abs(p.x - cx) - hx, qy = std::abs(p.y - cy) - hy;
                const float ox = std::max(qx, 0.f), oy = std::max(qy, 0.f);
                return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.f) - radius;
            },
            c, a);
    }

    void Circle(float cx, float cy, float r, Rgb c, float a = 1)
    {
        Fill(
            cx - r, cy - r, cx + r, cy + r,
            [&](Pt p) { return std::hypot(p.x - cx, p.y - cy) - r; }, c, a);
    }

    void Ring(float cx, float cy, float r, float width, Rgb c, float a = 1)
    {
        Fill(
            cx - r - width, cy - r - width, cx + r + width, cy + r + width,
            [&](Pt p) { return std::abs(std::hypot(p.x - cx, p.y - cy) - r) - width / 2; }, c, a);
    }

    void Polygon(const std::vector<Pt>& v, Rgb c, float a = 1)
    {
        float x0 = v[0].x, x1 = v[0].x, y0 = v[0].y, y1 = v[0].y;
        for (const Pt& p : v) {
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
        Fill(
            x0, y0, x1, y1, [&](Pt p) { return PolygonDistance(v, p); }, c, a);
    }

    // Everything below the curve base + amp * sin(freq * x + phase), with a second, faster
    // wave on it so that no two hills look alike.
    void Hills(float base, float amp, float freq, float phase, Rgb c, float a = 1)
    {
        for (int x = 0; x < w_; ++x) {
            const float t = static_cast<float>(x) / w_;
            const float top = base + amp * std::sin(freq * t * 2 * kPi + phase) +
                              amp * .3f * std::sin(freq * 3.1f * t * 2 * kPi + phase * 1.7f);
            for (int y = std::max(0, static_cast<int>(top)); y < h_; ++y)
                Blend(x, y, c, a * std::clamp(y + 1 - top, 0.f, 1.f));
        }
    }

    RgbImage ToImage() const
    {
        RgbImage image(w_, h_);
        for (size_t i = 0; i < px_.size(); ++i) {
            image.rgb[3 * i] = ToByte(px_[i].r);
            image.rgb[3 * i + 1] = ToByte(px_[i].g);
            image.rgb[3 * i + 2] = ToByte(px_[i].b);
        }
        return image;
    }

private:
    static std::uint8_t ToByte(float v)
    {
        return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.f, 1.f) * 255.f));
    }

    int w_, h_;
    std::vector<Rgb> px_;
};

float F(Dice& dice, float lo, float hi)
{
    return lo + static_cast<float>(dice.Unit()) * (hi - lo);
}

std::vector<Pt> Star(float cx, float cy, float outer, float inner, int points, float turn)
{
    std::vector<Pt> v;
    for (int i = 0; i < 2 * points; ++i) {
        const float r = i % 2 ? inner : outer;
        const float a = turn + kPi * i / points - kPi / 2;
        v.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return v;
}

std::vector<Pt> RegularPolygon(float cx, float cy, float r, int sides, float turn)
{
    std::vector<Pt> v;
    for (int i = 0; i < sides; ++i) {
        const float a = turn + 2 * kPi * i / sides - kPi / 2;
        v.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
    }
    return v;
}

// The phone's own top and bottom rows: signal, battery, and the two soft-key labels.
void PhoneChrome(Canvas& c, Dice& dice, bool softKeys)
{
    const float bar = std::max(9.f, c.H() / 14.f);
    c.Rect(0, 0, c.W(), bar, kBlack, .65f);
    for (int i = 0; i < 5; ++i) {
        const float x = 3 + i * bar * .35f, top = bar * (.8f - .13f * i);
        c.Rect(x, top, x + bar * .25f, bar * .85f, kWhite, .9f);
    }
    const float bx = c.W() - 4 - bar * 1.3f;
    c.Rect(bx, bar * .25f, bx + bar * 1.2f, bar * .78f, kWhite, .9f);
    c.Rect(bx + bar * 1.2f, bar * .38f, bx + bar * 1.32f, bar * .65f, kWhite, .9f);
    c.Rect(bx + bar * .15f, bar * .35f, bx + bar * (.2f + .8f * F(dice, .2f, 1)), bar * .68f,
           Rgb{.2f, .8f, .3f});
    if (!softKeys) return;
    const float y0 = c.H() - bar;
    c.Rect(0, y0, c.W(), c.H(), kBlack, .6f);
    const float kw = c.W() * .22f;
    c.RoundRect(4, y0 + 2, 4 + kw, c.H() - 2, 2, kWhite, .75f);
    c.RoundRect(c.W() - 4 - kw, y0 + 2, c.W() - 4, c.H() - 2, 2, kWhite, .75f);
}

void PaintGameScreen(Canvas& c, Dice& dice)
{
    const float hue = F(dice, 0, 1);
    const float w = c.W(), h = c.H(), m = c.Min();
    switch (dice.Range(0, 3)) {
    case 0: { // outdoors: a hero on the hills, coins in the air
        c.Gradient(Hsv(hue, .55f, .95f), Hsv(hue + .08f, .2f, 1), kPi / 2);
        c.Circle(F(dice, .1f, .9f) * w, h * .2f, m * .09f, Rgb{1, .93f, .5f});
        for (int layer = 0; layer < 3; ++layer)
            c.Hills(h * (.55f + .12f * layer), h * .05f, F(dice, 1, 3), F(dice, 0, 6),
                    Hsv(hue + .3f + .05f * layer, .6f, .75f - .15f * layer));
        const float px = F(dice, .2f, .7f) * w, py = h * .62f;
        c.RoundRect(px, py, px + m * .1f, py + m * .16f, 3, Hsv(hue + .5f, .8f, .9f));
        c.Circle(px + m * .05f, py - m * .04f, m * .05f, Rgb{1, .85f, .7f});
        for (int i = dice.Range(3, 7); i > 0; --i)
            c.Circle(F(dice, .05f, .95f) * w, F(dice, .3f, .5f) * h, m * .025f, Rgb{1, .85f, .1f});
        break;
    }
    case 1: { // space: a ship among enemies and stars
        c.Gradient(Hsv(hue, .8f, .12f), Hsv(hue + .1f, .7f, .3f), kPi / 2);
        for (int i = dice.Range(40, 90); i > 0; --i)
            c.Circle(F(dice, 0, w), F(dice, 0, h), F(dice, .4f, 1.2f), kWhite, F(dice, .4f, 1));
        const float r = m * F(dice, .12f, .22f), cx = F(dice, .2f, .8f) * w, cy = h * .3f;
        c.Circle(cx, cy, r, Hsv(hue + .45f, .5f, .8f));
        c.Ring(cx, cy, r * 1.4f, 2, Hsv(hue + .45f, .3f, .95f), .7f);
        const float sx = w / 2, sy = h * .8f, s = m * .07f;
        c.Polygon(
            {{sx, sy - s}, {sx + s * .8f, sy + s}, {sx, sy + s * .5f}, {sx - s * .8f, sy + s}},
            Rgb{.85f, .9f, 1});
        for (int i = dice.Range(3, 6); i > 0; --i) {
            const float ex = F(dice, .1f, .9f) * w, ey = F(dice, .15f, .55f) * h;
            c.Polygon(RegularPolygon(ex, ey, s * .6f, dice.Range(3, 6), F(dice, 0, 3)),
                      Hsv(hue + .9f, .8f, .95f));
        }
        for (int i = 1; i < 4; ++i)
            c.Rect(sx - 1, sy - s - i * 14, sx + 1, sy - s - i * 14 + 7, Rgb{1, 1, .4f});
        break;
    }
    case 2: { // a falling-blocks well
        c.Gradient(Hsv(hue, .5f, .2f), Hsv(hue + .2f, .5f, .35f), kPi / 3);
        const int cols = 10;
        const float cell = std::min(w * .6f / cols, h * .75f / 18);
        const float x0 = (w - cell * cols) / 2, y1 = h * .88f;
        c.Rect(x0 - 2, y1 - cell * 18 - 2, x0 + cell * cols + 2, y1 + 2, kBlack, .55f);
        for (int col = 0; col < cols; ++col) {
            const int height = dice.Range(1, 9);
            for (int row = 0; row < height; ++row) {
                if (dice.OneIn(6)) continue;
                const Rgb block = Hsv(hue + .14f * dice.Range(0, 6), .75f, .95f);
                const float bx = x0 + col * cell, by = y1 - (row + 1) * cell;
                c.RoundRect(bx + .5f, by + .5f, bx + cell - .5f, by + cell - .5f, cell * .2f,
                            block);
                c.Rect(bx + cell * .2f, by + cell * .2f, bx + cell * .45f, by + cell * .4f, kWhite,
                       .45f);
            }
        }
        break;
    }
    default: { // a road seen from above, with cars
        c.Gradient(Hsv(.3f, .6f, .55f), Hsv(.28f, .5f, .45f), kPi / 2);
        const float rx0 = w * .2f, rx1 = w * .8f;
        c.Rect(rx0, 0, rx1, h, Rgb{.35f, .35f, .38f});
        c.Rect(rx0 - 3, 0, rx0, h, kWhite);
        c.Rect(rx1, 0, rx1 + 3, h, kWhite);
        for (float y = F(dice, 0, 20); y < h; y += 24)
            c.Rect(w / 2 - 1.5f, y, w / 2 + 1.5f, y + 12, kWhite, .9f);
        for (int i = dice.Range(2, 4); i > 0; --i) {
            const float cx = F(dice, .28f, .65f) * w, cy = F(dice, .1f, .8f) * h;
            c.RoundRect(cx, cy, cx + m * .11f, cy + m * .19f, 4, Hsv(F(dice, 0, 1), .8f, .9f));
            c.Rect(cx + m * .02f, cy + m * .04f, cx + m * .09f, cy + m * .08f, kBlack, .5f);
        }
        break;
    }
    }
    // Score and lives, as squares: the pictures carry no lettering.
    const float bar = std::max(9.f, h / 14.f);
    for (int i = dice.Range(2, 5); i > 0; --i)
        c.Circle(w - 8 - i * bar * .8f, bar * 1.6f, bar * .28f, Rgb{1, .3f, .35f});
    PhoneChrome(c, dice, !dice.OneIn(3));
}

void PaintCover(Canvas& c, Dice& dice)
{
    const float hue = F(dice, 0, 1), w = c.W(), h = c.H(), m = c.Min();
    c.Gradient(Hsv(hue, .7f, .85f), Hsv(hue + F(dice, .1f, .4f), .8f, .35f), F(dice, 0, 2 * kPi));
    c.Stripes(kWhite, .08f, F(dice, 0, kPi), m * F(dice, .08f, .2f), .5f);
    const float r = m * F(dice, .3f, .42f), cx = w * F(dice, .4f, .6f), cy = h * F(dice, .4f, .6f);
    c.Circle(cx + 3, cy + 4, r, kBlack, .35f);
    c.Circle(cx, cy, r, Rgb{.06f, .06f, .07f});
    for (float k = .45f; k < .98f; k += .07f)
        c.Ring(cx, cy, r * k, 1, kWhite, .12f);
    c.Circle(cx, cy, r * .33f, Hsv(hue + .5f, .6f, .95f));
    c.Polygon(Star(cx, cy, r * .28f, r * .13f, dice.Range(5, 8), F(dice, 0, 1)),
              Hsv(hue + .5f, .3f, 1));
    c.Circle(cx, cy, std::max(1.5f, r * .04f), kBlack);
    c.Rect(0, h * .84f, w, h * .94f, kBlack, .3f);
    for (int i = 0; i < 5; ++i)
        c.Rect(w * (.08f + .17f * i), h * .87f, w * (.2f + .17f * i), h * .91f, kWhite, .6f);
}

void PaintEmblem(Canvas& c, Dice& dice)
{
    const float hue = F(dice, 0, 1), w = c.W(), h = c.H(), m = c.Min();
    c.Gradient(Hsv(hue, .6f, .95f), Hsv(hue + .15f, .8f, .5f), F(dice, 0, 2 * kPi));
    c.Stripes(Hsv(hue + .5f, .4f, 1), .12f, F(dice, 0, kPi), m * F(dice, .05f, .15f),
              F(dice, .2f, .5f));
    const float cx = w / 2, cy = h * .48f, r = m * .32f;
    c.Circle(cx + 3, cy + 4, r * 1.05f, kBlack, .3f);
    switch (dice.Range(0, 3)) {
    case 0:
        c.Polygon(Star(cx, cy, r * 1.1f, r * .5f, dice.Range(5, 9), F(dice, 0, 1)), kWhite);
        c.Polygon(Star(cx, cy, r * .9f, r * .4f, dice.Range(5, 9), F(dice, 0, 1)),
                  Hsv(hue + .5f, .8f, .9f));
        break;
    case 1:
        for (int i = 5; i > 0; --i)
            c.Circle(cx, cy, r * i / 5, i % 2 ? kWhite : Hsv(hue + .55f, .8f, .85f));
        break;
    case 2:
        c.Polygon(RegularPolygon(cx, cy, r * 1.1f, 4, 0), kWhite);
        c.Polygon(RegularPolygon(cx, cy, r * .85f, 4, 0), Hsv(hue + .4f, .7f, .8f));
        c.Polygon(RegularPolygon(cx, cy, r * .4f, 4, kPi / 4), kWhite, .85f);
        break;
    default:
        c.Polygon(RegularPolygon(cx, cy, r * 1.05f, 6, kPi / 6), kWhite);
        c.Polygon(RegularPolygon(cx, cy, r * .88f, 6, kPi / 6), Hsv(hue + .6f, .7f, .7f));
        c.Polygon(Star(cx, cy, r * .7f, r * .3f, 6, 0), Hsv(hue + .1f, .3f, 1));
        break;
    }
    c.RoundRect(w * .15f, h * .84f, w * .85f, h * .93f, h * .03f, kBlack, .35f);
}

void PaintThemeScreen(Canvas& c, Dice& dice)
{
    const float hue = F(dice, 0, 1), w = c.W(), h = c.H(), m = c.Min();
    c.Gradient(Hsv(hue, .5f, .9f), Hsv(hue + .2f, .7f, .45f), F(dice, kPi / 4, 3 * kPi / 4));
    for (int i = dice.Range(3, 6); i > 0; --i)
        c.Circle(F(dice, 0, w), F(dice, 0, h), m * F(dice, .15f, .4f), Hsv(hue + .1f, .3f, 1),
                 .18f);
    const int cols = 3, rows = 4;
    const float cell = std::min(w * .8f / cols, h * .68f / rows), pad = cell * .14f;
    const float x0 = (w - cell * cols) / 2, y0 = h * .14f;
    const float iconHue = hue + F(dice, .3f, .7f);
    for (int r = 0; r < rows; ++r)
        for (int k = 0; k < cols; ++k) {
            const float x = x0 + k * cell + pad, y = y0 + r * cell + pad, s = cell - 2 * pad;
            c.RoundRect(x + 1.5f, y + 2, x + s + 1.5f, y + s + 2, s * .22f, kBlack, .25f);
            c.RoundRect(x, y, x + s, y + s, s * .22f,
                        Hsv(iconHue + .07f * (r * cols + k), .65f, .95f));
            if (dice.OneIn(2))
                c.Circle(x + s / 2, y + s / 2, s * .22f, kWhite, .85f);
            else
                c.Polygon(RegularPolygon(x + s / 2, y + s / 2, s * .28f, dice.Range(3, 5), 0),
                          kWhite, .85f);
        }
    PhoneChrome(c, dice, true);
}

void PaintLandscape(Canvas& c, Dice& dice)
{
    const float w = c.W(), h = c.H(), m = c.Min();
    const int time = dice.Range(0, 2); // day, dusk, night
    const float hue = F(dice, -.05f, .05f);
    const Rgb skyTop = time == 0   ? Hsv(.58f + hue, .6f, .9f)
                       : time == 1 ? Hsv(.75f + hue, .5f, .45f)
                                   : Hsv(.65f + hue, .7f, .12f);
    const Rgb skyLow = time == 0   ? Hsv(.55f + hue, .2f, 1)
                       : time == 1 ? Hsv(.06f + hue, .7f, 1)
                                   : Hsv(.68f + hue, .6f, .3f);
    c.Gradient(skyTop, skyLow, kPi / 2);
    if (time == 2)
        for (int i = dice.Range(60, 140); i > 0; --i)
            c.Circle(F(dice, 0, w), F(dice, 0, h * .6f), F(dice, .3f, 1.1f), kWhite,
                     F(dice, .3f, 1));
    const float sx = F(dice, .15f, .85f) * w, sy = F(dice, .15f, .4f) * h,
                sr = m * F(dice, .06f, .12f);
    c.Circle(sx, sy, sr * 2.2f, time == 2 ? kWhite : Rgb{1, .9f, .6f}, .15f);
    c.Circle(sx, sy, sr, time == 2 ? Rgb{.95f, .95f, .85f} : Rgb{1, .95f, .7f});
    if (time == 2) c.Circle(sx + sr * .45f, sy - sr * .2f, sr * .85f, skyTop);
    const float landHue = F(dice, .2f, .45f);
    const int layers = dice.Range(3, 4);
    for (int layer = 0; layer < layers; ++layer) {
        const float v = (time == 2 ? .35f : .8f) - .13f * layer;
        c.Hills(h * (.5f + .11f * layer), h * F(dice, .03f, .08f), F(dice, .7f, 2.5f),
                F(dice, 0, 6), Hsv(landHue + .04f * layer, .55f, std::max(.08f, v)));
    }
    if (dice.OneIn(2)) {
        const float top = h * .86f;
        c.VerticalGradient(Mix(skyLow, Rgb{.1f, .3f, .6f}, .5f), Rgb{.05f, .15f, .35f}, top, h);
        for (float y = top + 3; y < h; y += 5)
            c.Rect(F(dice, 0, w * .6f), y, F(dice, w * .5f, w), y + 1, kWhite, .25f);
    }
}

void PaintFilmFrame(Canvas& c, Dice& dice)
{
    PaintLandscape(c, dice);
    const float w = c.W(), h = c.H(), band = h * .12f;
    c.Rect(0, 0, w, band, Rgb{.08f, .07f, .06f});
    c.Rect(0, h - band, w, h, Rgb{.08f, .07f, .06f});
    const float hole = band * .45f;
    for (float x = hole * .6f; x < w; x += hole * 1.8f) {
        c.RoundRect(x, band * .28f, x + hole, band * .28f + hole, hole * .2f, Rgb{.85f, .85f, .8f});
        c.RoundRect(x, h - band * .28f - hole, x + hole, h - band * .28f, hole * .2f,
                    Rgb{.85f, .85f, .8f});
    }
    const float r = c.Min() * .16f;
    c.Circle(w / 2, h / 2, r, kBlack, .45f);
    c.Polygon({{w / 2 - r * .35f, h / 2 - r * .5f},
               {w / 2 + r * .55f, h / 2},
               {w / 2 - r * .35f, h / 2 + r * .5f}},
              kWhite, .9f);
}

// Grey bars where a page would have its words.
void TextLines(Canvas& c, Dice& dice, float x0, float x1, float y0, float y1, float pitch)
{
    for (float y = y0; y + pitch * .5f < y1; y += pitch) {
        if (dice.OneIn(7)) continue; // a paragraph break
        const float end = dice.OneIn(5) ? x0 + (x1 - x0) * F(dice, .3f, .8f) : x1;
        c.Rect(x0, y, end, y + pitch * .45f, Rgb{.3f, .3f, .32f}, .55f);
    }
}

void PaintPage(Canvas& c, Dice& dice)
{
    const float w = c.W(), h = c.H(), m = c.Min();
    const float hue = F(dice, 0, 1);
    c.Gradient(Rgb{.97f, .96f, .92f}, Rgb{.92f, .91f, .87f}, kPi / 2);
    c.Rect(0, 0, w, h * .11f, Hsv(hue, .6f, .6f));
    c.Rect(w * .06f, h * .035f, w * .55f, h * .075f, kWhite, .9f);
    // The phone the manual is about: body, screen, keypad.
    const float px0 = w * .07f, px1 = w * .4f, py0 = h * .2f, py1 = h * .88f;
    c.RoundRect(px0 + 3, py0 + 4, px1 + 3, py1 + 4, m * .05f, kBlack, .2f);
    c.RoundRect(px0, py0, px1, py1, m * .05f, Hsv(hue + .5f, .15f, F(dice, .25f, .6f)));
    const float sw = px1 - px0;
    c.Rect(px0 + sw * .12f, py0 + sw * .25f, px1 - sw * .12f, py0 + sw * 1.05f, Rgb{.1f, .1f, .1f});
    c.Rect(px0 + sw * .16f, py0 + sw * .29f, px1 - sw * .16f, py0 + sw * 1.01f,
           Hsv(hue + .3f, .5f, .85f));
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 3; ++k)
            c.RoundRect(px0 + sw * (.16f + .25f * k), py0 + sw * (1.2f + .22f * r),
                        px0 + sw * (.34f + .25f * k), py0 + sw * (1.33f + .22f * r), sw * .04f,
                        Rgb{.85f, .85f, .85f});
    TextLines(c, dice, w * .46f, w * .94f, h * .2f, h * .9f, std::max(6.f, h / 28));
    c.Rect(w * .46f, h * .94f, w * .54f, h * .96f, Rgb{.4f, .4f, .4f}, .6f);
}

void PaintMagazine(Canvas& c, Dice& dice)
{
    const float w = c.W(), h = c.H();
    const float hue = F(dice, 0, 1);
    c.Gradient(kWhite, Rgb{.94f, .94f, .94f}, kPi / 2);
    c.Rect(0, 0, w, h * .13f, Hsv(hue, .8f, .75f));
    c.Rect(w * .05f, h * .04f, w * .7f, h * .09f, kWhite, .95f);
    // The article's picture: a small landscape painted into its own canvas.
    Canvas photo(static_cast<int>(w * .9f), static_cast<int>(h * .38f));
    PaintLandscape(photo, dice);
    const RgbImage pic = photo.ToImage();
    const int ox = static_cast<int>(w * .05f), oy = static_cast<int>(h * .17f);
    for (int y = 0; y < pic.height; ++y)
        for (int x = 0; x < pic.width; ++x) {
            const auto* p = &pic.rgb[(static_cast<size_t>(y) * pic.width + x) * 3];
            c.Blend(ox + x, oy + y, Rgb{p[0] / 255.f, p[1] / 255.f, p[2] / 255.f}, 1);
        }
    const float pitch = std::max(5.f, h / 36), top = h * .6f;
    TextLines(c, dice, w * .05f, w * .47f, top, h * .95f, pitch);
    TextLines(c, dice, w * .53f, w * .95f, top, h * .72f, pitch);
    c.Rect(w * .53f, h * .75f, w * .95f, h * .93f, Hsv(hue, .25f, .95f));
    c.Rect(w * .53f, h * .75f, w * .545f, h * .93f, Hsv(hue, .8f, .75f));
}

} // namespace

RgbImage Paint(ArtStyle style, int width, int height, std::uint64_t seed)
{
    Canvas canvas(width, height);
    Dice dice(seed);
    switch (style) {
    case ArtStyle::GameScreen:
        PaintGameScreen(canvas, dice);
        break;
    case ArtStyle::Cover:
        PaintCover(canvas, dice);
        break;
    case ArtStyle::Emblem:
        PaintEmblem(canvas, dice);
        break;
    case ArtStyle::ThemeScreen:
        PaintThemeScreen(canvas, dice);
        break;
    case ArtStyle::Landscape:
        PaintLandscape(canvas, dice);
        break;
    case ArtStyle::FilmFrame:
        PaintFilmFrame(canvas, dice);
        break;
    case ArtStyle::Page:
        PaintPage(canvas, dice);
        break;
    case ArtStyle::Magazine:
        PaintMagazine(canvas, dice);
        break;
    }
    return canvas.ToImage();
}

} // namespace demo
