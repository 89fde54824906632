// The program's own icon: a mine on a raised grey cell, drawn at start-up like the skins. It is
// every window's icon, the tray icon and the picture of the launchers.
#pragma once

#include <QIcon>
#include <QImage>

#include <string>

namespace quorlet {

// The picture at size x size pixels.
QImage ProgramIconImage(int size);
// 16, 32, 48 and 64 pixel pictures in one icon, drawn at the first call.
QIcon ProgramIcon();
// LastPath + "quorlet.png" holding the 64-pixel picture, written when missing; empty when it
// cannot be written.
std::string ProgramIconFile();

} // namespace quorlet
