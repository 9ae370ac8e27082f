// The system clock; see clock.h.
#include "operations/clock.h"

#include <QDateTime>

#include "data/datetime.h"

double SystemClock::now() const {
    return datetime::fromDateTime(QDateTime::currentDateTime());
}
