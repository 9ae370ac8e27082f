// The pictures of the connect button (Command20): Picture_T_ON while connected and
// Picture_T_OFF otherwise, one of each per language. Each shows the connection lamp and the
// action the button offers, as the port dialog's button does.
#pragma once

#include <QPixmap>
#include <QSize>

class MessageTable;

QPixmap connectPicture(bool on, const MessageTable& messages, const QSize& size);
