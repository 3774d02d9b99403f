#pragma once
#include <QImage>
#include <QSize>

// The About window's banner is designed on a 404 x 90 pixel canvas, the size of its
// 6060 x 1350 twip box on a 96-dpi screen.
inline constexpr QSize BannerDesignSize(404, 90);

// Draws the banner scaled to size. Its left and right edges meet without a seam, since
// the banner scrolls round and round.
QImage DrawBannerPicture(const QSize &size);
