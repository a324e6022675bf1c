#pragma once

#include <memory>
#include <QMainWindow>

// The least Qt can show for Ardovin's main window: the same menus and items, the same kinds and
// numbers of controls with the texts they show at a start, the same fixed size, the same two
// fonts and the same icon, and nothing else: no logic, no file, no lock. Whatever Ardovin takes
// to start beyond this window is Ardovin's own.
std::unique_ptr<QMainWindow> FloorWindow();
