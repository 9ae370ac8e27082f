// The pictures of the connect button: the connected picture while connected and the
// disconnected one otherwise, one of each per language. Each shows the connection lamp and the
// action the button offers, as the port dialog's button does.
#pragma once

#include <QPixmap>
#include <QSize>

class MessageTable;

QPixmap connectPicture(bool on, const MessageTable& messages, const QSize& size);
