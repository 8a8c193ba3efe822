// Helpers the Windows tests share, one job to a file under support/: paths
// and environment, other processes and the helper handshake, the second
// program's picture window, screen and clipboard reads, message boxes, sent
// input, and the message pump. Tests include this one header for all of them.
#pragma once

#include "tests/win/support/MessageBoxWatcher.h"
#include "tests/win/support/MessagePump.h"
#include "tests/win/support/OtherPrograms.h"
#include "tests/win/support/PictureWindow.h"
#include "tests/win/support/ScreenReads.h"
#include "tests/win/support/SentInput.h"
#include "tests/win/support/TestEnvironment.h"
