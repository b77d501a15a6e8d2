// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/seams.h"

#include <QRandomGenerator>

namespace corvanteller {

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

int SystemRandom::bounded(int bound) {
    return QRandomGenerator::global()->bounded(bound);
}

} // namespace corvanteller
