// The receiver's sketch as one C++ unit against the stand-in Arduino API,
// the way the Arduino tools build it: Arduino.h first, then the sketch.
#include "Arduino.h"
#include "gedanko_receptor.ino"
