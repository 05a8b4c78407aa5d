// Legibility of the colours the panel writes and draws in, computed from
// both palettes: every text in a term or curve colour on every background it
// is drawn on, and the current curve's line on the graph.
#include <gtest/gtest.h>

#include <cstdio>

#include "app/ui/style/contrast.h"
#include "app/ui/style/theme.h"

namespace quillon::ui {
namespace {

TEST(ContrastRatio, FollowsTheLuminanceFormula) {
  struct Case {
    QColor fg, bg;
    double ratio;
  };
  const Case cases[] = {
      {Qt::black, Qt::white, 21.0},
      {Qt::white, Qt::white, 1.0},
      {QColor(0x767676), Qt::white, 4.54},      // the lightest grey that passes on white
      {QColor(0, 0, 0, 128), Qt::white, 4.00},  // translucent text is laid over first
      {Qt::white, QColor(0x2C2C2E), 13.94},
  };
  for (const Case& c : cases) {
    EXPECT_NEAR(contrastRatio(c.fg, c.bg), c.ratio, 0.01)
        << c.fg.name().toStdString() << " on " << c.bg.name().toStdString();
    EXPECT_NEAR(contrastRatio(c.bg, c.fg.alpha() == 255 ? c.fg : composite(c.fg, c.bg)), c.ratio,
                0.01);
  }
}

struct Backdrop {
  const char* name;
  QColor colour;
};

// Where coloured text is drawn: the panel (slider values, the formula, the
// graph's legend row), the graph's tinted background, and the hover
// readout's pill on it.
std::vector<Backdrop> backdrops(const Palette& p) {
  const QColor graph = graphBackground(p);
  return {{"panel", p.panelBackground},
          {"graph", graph},
          {"readout", composite(withAlpha(p.panelBackground, 0.92), graph)}};
}

struct Ink {
  const char* name;
  QColor colour;
};

std::vector<Ink> textColours(const Palette& p) {
  return {{"term speed", termTextColor(Term::speed, p)},
          {"term accel", termTextColor(Term::accel, p)},
          {"term shape", termTextColor(Term::shape, p)},
          {"term threshold", termTextColor(Term::threshold, p)},
          {"term boost", termTextColor(Term::boost, p)},
          {"curve mac", curveTextColor(CurveMode::mac, p)},
          {"curve windows", curveTextColor(CurveMode::windows, p)},
          {"curve custom", curveTextColor(CurveMode::custom, p)},
          // The plain values, captions and the graph's axis text.
          {"label", p.label},
          {"secondary", p.secondaryLabel}};
}

const Palette* const kPalettes[] = {&Palette::light(), &Palette::darkPalette()};

TEST(PaletteContrast, ColouredTextReadsOnEveryBackground) {
  for (const Palette* p : kPalettes) {
    std::printf("%s\n", p->dark ? "dark" : "light");
    for (const Ink& ink : textColours(*p)) {
      std::printf("  %-15s %s", ink.name, qPrintable(ink.colour.name()));
      for (const Backdrop& b : backdrops(*p)) {
        const double r = contrastRatio(ink.colour, b.colour);
        std::printf("  %s %5.2f", b.name, r);
        EXPECT_GE(r, kTextContrast)
            << (p->dark ? "dark " : "light ") << ink.name << " on " << b.name;
      }
      std::printf("\n");
    }
  }
}

TEST(PaletteContrast, TheCurrentCurveStandsOutAndTheOthersStayFaint) {
  constexpr CurveMode kModes[] = {CurveMode::mac, CurveMode::windows, CurveMode::custom};
  for (const Palette* p : kPalettes) {
    const QColor graph = graphBackground(*p);
    for (CurveMode m : kModes) {
      const double current = contrastRatio(curveLineColor(m, *p), graph);
      const double faint = contrastRatio(withAlpha(curveColor(m, *p), 0.45), graph);
      std::printf("%s %-8s line %5.2f  faint %5.2f\n", p->dark ? "dark " : "light",
                  qPrintable(modeName(m)), current, faint);
      EXPECT_GE(current, kGraphicContrast) << modeName(m).toStdString();
      EXPECT_LT(faint, current) << modeName(m).toStdString();
    }
  }
}

TEST(PaletteContrast, TextVariantsKeepTheirColoursHue) {
  // A darker or lighter orange is still orange: the variants stay within a
  // few degrees of the colour they stand for.
  for (const Palette* p : kPalettes) {
    const std::pair<QColor, QColor> pairs[] = {
        {p->green, p->greenText},   {p->orange, p->orangeText}, {p->purple, p->purpleText},
        {p->pink, p->pinkText},     {p->teal, p->tealText},     {p->cyan, p->cyanText},
        {p->orange, p->orangeLine}, {p->cyan, p->cyanLine}};
    for (const auto& [plain, variant] : pairs) {
      EXPECT_NEAR(plain.hslHueF(), variant.hslHueF(), 0.02)
          << plain.name().toStdString() << " → " << variant.name().toStdString();
    }
  }
}

}  // namespace
}  // namespace quillon::ui
