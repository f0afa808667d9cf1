#pragma once

#include <QList>

// Shares a width among panels or list columns. Each would like its design
// share or, when that is less, what its longest text needs. When not all
// wishes fit, each still gets what its text needs, as far as the room
// allows, and the room beyond the needs goes to those that wished for more.
// When even the needs do not fit, the short texts are served whole and the
// long ones share the rest equally: they are the ones that show shortened.
QList<int> VerteileBreiten(int platz, const QList<int> &anteile, const QList<int> &bedarf);
