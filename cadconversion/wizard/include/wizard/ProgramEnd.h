// Ends the program at once from anywhere inside the wizard, after a message
// that the user has seen: no window is closed and nothing is saved.
#pragma once

[[noreturn]] void endProgram(int exitCode);
