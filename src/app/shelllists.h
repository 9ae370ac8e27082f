// The lists of the connection column that the window fills itself: the baud rate and the
// model at construction, the interval and measurement counts and the number selector at
// start-up.
#pragma once

#include <QString>

struct MainControls;

// The baud rates and the models, showing `baud` and `model`.
void fillLineLists(const MainControls& controls, const QString& baud, const QString& model);
// Interval counts 2..59 and measurement counts 2..60 (both showing 5), selector 1..255.
void fillCountLists(const MainControls& controls);
