// main() of a GUI test program. Link `testsupport_gui_main` for the plain
// one; a program that needs more around its tests writes its own main():
//
//   int main(int argc, char** argv)
//   {
//       return testsupport::runGuiTests(argc, argv, [] {
//           AfxOleInit();                        // whatever the program starts
//           const int result = RUN_ALL_TESTS();
//           OleUninitialize();
//           return result;
//       });
//   }
//
// runGuiTests takes GoogleTest's flags from the command line, picks Qt's
// offscreen platform unless QT_QPA_PLATFORM names another, gives the
// program a private runtime folder when XDG_RUNTIME_DIR is unset, and a
// registry and database of its own (see TemporaryRegistry.h,
// TemporaryDatabase.h), and calls run with the one QApplication alive. It
// answers what run answers (2 when the temporary folders cannot be made).
#pragma once

#include <functional>

namespace testsupport {

int runGuiTests(int argc, char** argv, const std::function<int()>& run);

} // namespace testsupport
