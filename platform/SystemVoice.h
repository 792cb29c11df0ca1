#pragma once

#include <memory>

class Voice;

// The voice of the system the program runs on: speech-dispatcher on Linux, Windows' own speech (SAPI) on Windows.
std::unique_ptr<Voice> makeSystemVoice();
