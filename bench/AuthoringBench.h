#pragma once
#include <QString>

// The authoring rows: the byte map's model over a large image with many settings, and
// proposals from two images with many differing bytes. Returns a Markdown table.
QString MeasureAuthoring(int runs);
