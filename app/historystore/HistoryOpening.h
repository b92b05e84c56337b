#pragma once

#include <QDateTime>
#include <QString>

class HistoryConnection;

// Opens the history of the connection, making its folder (0700) and its
// file (0600) when missing, and readies it. A damaged history is moved
// aside, with its journal files, as "<name>.damaged-<yyyyMMdd-HHmmss>" of
// the local time now, and a new one begun: the notice returned then says
// so, else it is empty. Raises Exception naming the path and the reason
// when the history cannot be opened or begun.
QString OpenHistory(const HistoryConnection& connection, const QDateTime& now);

// Opens the history of the connection to read it only; raises Exception
// naming the path and the reason when it cannot.
void OpenHistoryToRead(const HistoryConnection& connection);
