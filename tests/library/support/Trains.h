#pragma once

#include "analyzer/core/PulseTrain.h"

#include <initializer_list>

// A train from its start level and pulses; the rest of the slots are 0.
inline PulseTrain Train(int startLevel, std::initializer_list<int> pulses)
{
    PulseTrain train;
    train[0] = startLevel;
    int i = 1;
    for (int pulse : pulses)
        train[i++] = pulse;
    return train;
}
