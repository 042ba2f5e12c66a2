// The whole platform layer: display, drawing, images, fonts, input, audio and
// (from core/) files, clock, random numbers and messages.
#pragma once

#include "app/platform/audio.h"
#include "app/platform/core/files.h"
#include "app/platform/core/system.h"
#include "app/platform/display.h"
#include "app/platform/draw.h"
#include "app/platform/font.h"
#include "app/platform/image.h"
#include "app/platform/input.h"
