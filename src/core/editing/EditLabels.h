#pragma once

// Action labels of the change log for items added, changed and deleted, 25
// characters each.
inline constexpr const char16_t* kLabelAdded = u"Přidána_nová_položka_____";
inline constexpr const char16_t* kLabelProjectData = u"Přidána_data_projektu____";
inline constexpr const char16_t* kLabelChangedOld = u"Původní_přepsaná_položka_";
inline constexpr const char16_t* kLabelChangedNew = u"Nově_upravená_položka____";
inline constexpr const char16_t* kLabelDeleted = u"Smazaná_položka__________";
