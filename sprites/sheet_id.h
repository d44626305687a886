// The pet's four sprite sheets by name: the heads and legs as drawn (facing
// left) and their mirrored copies (facing right).
#pragma once

namespace pimblo {

enum class SheetId { Heads, Legs, FHeads, FLegs };

}  // namespace pimblo
