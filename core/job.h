// A delivery request: a row of IraiTbl while the tavern offers it, then one
// entry in each of the lists LstSigoto(0..5) once the courier has taken it.
#pragma once

namespace kiravel {

// The columns of both, by number: they index a row of IraiTbl and the lists
// of LstSigoto as they stand. The first is the cargo's number in IraiTbl;
// in LstSigoto it holds the line the tavern offered, which names the cargo.
namespace JobColumn {
enum : int { Cargo, Attribute, Reward, From, To, Due };
}
inline constexpr int kJobColumns = 6;
// The requests a tavern offers at a time: the rows of IraiTbl.
inline constexpr int kRequestOffers = 4;

}  // namespace kiravel
