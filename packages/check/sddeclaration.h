#pragma once
// A declaration of REV5_SD as its lines come: its monthly rows, then its total line. What the
// first row says of it holds for the rows after.

#include <QtGlobal>

struct SdDeclaration {
    qint64 id = -1;      // na_id; -1 when the first row's is unreadable
    qint64 package = -1; // pl_nr; the same
    int firstLine = 0;
    int lastLine = 0; // its last monthly row so far
};
