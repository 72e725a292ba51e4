#pragma once
// Shared by the chart tests: the "黑体" substitution the application installs
// at start, colour comparison, and realistic data for the dashboard charts.
#include "chart/chart_model.h"

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

namespace kvet::chart::test {

// Installs the font substitution once for the whole test program.
void useDashboardFonts();

// Largest channel difference.
int colorDistance(const QColor& a, const QColor& b);

// Pixel at a point given in logical coordinates of `image`.
QColor pixelAt(const QImage& image, QPointF at);

// Fills chart `number` (1..6, as built by makeDashboardChart) with data like a
// live refresh gives.
void fillRealistic(Chart& chart, int number);

} // namespace kvet::chart::test
