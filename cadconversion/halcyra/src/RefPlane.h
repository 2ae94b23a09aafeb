// CRefPlane: sets the reference plane of the Tarsis part writer, against
// which the following operations of a face are placed.
#pragma once

#include "TarsisServers.h"

class CRefPlane {
public:
    // The four numbers and the three characters, each character sent as a
    // one-character string. Returns 0; a refusal ends the operation
    // through CLog::ThrowHResult.
    int SetRefPlane(ITarsisPartWriter* pPartWriter, double d1, double d2, double d3, double d4,
                    char c1, char c2, char c3);
};
