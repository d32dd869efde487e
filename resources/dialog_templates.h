#pragma once

#include "platform/control_template.h"

namespace tallyfold {

/// Template 3200 "Doubles": the card that clashes with a new one.
const platform::DialogTemplate& DoublesTemplate();
/// Template 3300 "Input": typing and correcting cards.
const platform::DialogTemplate& InputTemplate();
/// Template 3400 "Put into...": choosing a partition or the input stack.
const platform::DialogTemplate& TargetTemplate();
/// Template 3500 "Partition overview": the cards of one partition.
const platform::DialogTemplate& OverviewTemplate();
/// Template 3600 "Cards": every card of the box, to find and work on.
const platform::DialogTemplate& CardsTemplate();
/// Template 3700 "Statistics": the box, the days and the hardest cards at a glance.
const platform::DialogTemplate& StatisticsTemplate();

}  // namespace tallyfold
