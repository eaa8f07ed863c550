#pragma once
// The install folder in "TRUSTEDPATHS" of every AutoCAD profile of one user.
#include <cstddef>
#include <string>

#include "engine/journal/record.h"
#include "engine/user_hives.h"
#include "platform/services.h"

namespace vk {

// How a list that holds the folder already is treated.
enum class ListHoldingIt {
    WrittenBack,  // upper-cased and written back, as every installation does
    Left,         // left as it is: a run that may come any number of times changes nothing
};

// Adds `installDir` to the list of each AutoCAD profile in `hive`, entering
// each change in `record` first (null: nothing is recorded). Answers how
// many profiles the user has: none means AutoCAD has not run for them yet.
std::size_t RegisterTrustedPathsFor(const Services& services, const UserHive& hive,
                                    const std::string& installDir, RecordWriter* record,
                                    ListHoldingIt holding = ListHoldingIt::WrittenBack);

// Takes `installDir` out of the list of each AutoCAD profile in `hive` that
// holds it, every other entry kept in its order and the list in its type:
// what the record cannot undo, the entries the per-user setup gave. Answers
// whether every such list was written.
bool RemoveTrustedPathFor(const Services& services, const UserHive& hive,
                          const std::string& installDir);

}  // namespace vk
