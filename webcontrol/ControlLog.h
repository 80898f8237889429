// The control's failure log: one line on the host's standard error a failure, naming the
// function. The control lives in another program's process and has no log file of its own.
#pragma once

void ControlLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
