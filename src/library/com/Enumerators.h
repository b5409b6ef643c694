// Enumerators of an object's connection points and of a connection point's connections. Each
// walks a snapshot taken when it was made and holds a reference to every interface in it, so
// what it hands out stays valid after the connection itself is gone. A clone shares the snapshot
// and starts where the original stands. Live enumerators keep the server loaded.
#pragma once

#include <vector>

#include "zorvaxp/zorvaxp_com.h"

namespace zxp::library::com {

// Each point is AddRef'd by the snapshot; nullptr when memory runs out.
IEnumConnectionPoints* enumConnectionPoints(const std::vector<IConnectionPoint*>& points);
// Each connection's pUnk is AddRef'd by the snapshot; nullptr when memory runs out.
IEnumConnections* enumConnections(const std::vector<CONNECTDATA>& connections);

}  // namespace zxp::library::com
