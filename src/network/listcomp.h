#pragma once

#include "platform/neighbourhood.h"

#include <QString>

#include <vector>

// The walk of the network neighbourhood that lists the LAN's computers for the network window.
namespace network {

// More names than this end the walk, level by level.
inline constexpr float MaxListedPCs = 50;

// Fills `pcs` with the computers' names without their leading "\\", in the order found, after an
// empty element 0. The walk stops early once it has listed more than MaxListedPCs names: the
// level that lists the 51st ends there, and each enclosing level ends at the next name it lists.
void EnumerateNetworkPCs(std::vector<QString>& pcs);
// The same walk inside one entry, when the entry is a container.
void EnumerateContainer(const platform::NetworkResource& container, std::vector<QString>& pcs);
// An entry's stored name as the walk reads it: up to its first zero character, at most 255
// characters.
QString PointerToString(const QString& stored);

}  // namespace network
