#pragma once

#include <QRect>
#include <QSize>

/// Where an image of the printed size goes on the page's printable area (its
/// origin at the area's top left). Without fitting: at the top left, cut
/// where it exceeds the area. Fitting ("Ajustar à página"): scaled down to
/// the area, proportions kept, only when it wouldn't fit, and centred.
QRect PlaceOnPage(QSize printed, QSize printable, bool fitToPage);
