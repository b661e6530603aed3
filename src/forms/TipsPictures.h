#pragma once
// The pictures of the tips window, drawn by the program itself: a chess master thinking, with four
// thought bubbles rising to a knight, and a small light bulb beside the tip.

#include <QPixmap>
#include <QSize>

QPixmap MasterPicture(QSize size);
QPixmap TipPicture(int side);
