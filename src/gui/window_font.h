#pragma once
#include <QFont>

// The font of every control of both windows: the platform's sans font at a
// pixel size whose captions fit the fixed control bounds.
QFont WindowFont();
