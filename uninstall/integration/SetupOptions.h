// The setup choices: which archive types the archiver is associated with, where its
// shortcuts go and how it integrates with Explorer. The setup dialog reads, shows,
// stores and applies them; a record with every flag false (the default) tells the
// association, shell-extension and shortcut operations to remove everything.
#pragma once

// The association groups, in the order of AssociationGroups and of the check boxes.
enum AssociationGroupIndex {
  kGroupKzp,
  kGroupZip,
  kGroupCab,
  kGroupArj,
  kGroupLzh,
  kGroupAce,
  kGroupTar,
  kGroupGzip,
  kGroupUue,
  kGroupBz2,
  kGroupJar,
  kGroupIso,
  kAssociationGroupCount
};

struct SetupOptions {
  // One flag per association group, indexed by AssociationGroupIndex.
  bool associations[kAssociationGroupCount] = {};
  bool desktopShortcut = false;
  bool startMenuShortcut = false;
  bool programGroup = false;
  bool shellIntegration = false;  // Explorer integration
  bool cascadedMenu = false;
  bool menuIcons = false;
};
