#include "setup/SetupOptionsView.h"

#include "resources/resource.h"

namespace {

// The interface boxes in the order of their controls.
constexpr struct {
  int control;
  bool SetupOptions::*flag;
} kInterfaceBoxes[] = {
    {IDC_DESKTOP_SHORTCUT, &SetupOptions::desktopShortcut},
    {IDC_START_MENU_SHORTCUT, &SetupOptions::startMenuShortcut},
    {IDC_PROGRAM_GROUP, &SetupOptions::programGroup},
    {IDC_SHELL_INTEGRATION, &SetupOptions::shellIntegration},
    {IDC_CASCADED_MENU, &SetupOptions::cascadedMenu},
    {IDC_MENU_ICONS, &SetupOptions::menuIcons},
};

// The n-th association group has the n-th association box.
int AssociationBox(int group) {
  return IDC_ASSOCIATE_KZP + group;
}

UINT CheckState(bool on) {
  return on ? BST_CHECKED : BST_UNCHECKED;
}

}  // namespace

void ShowSetupOptions(HWND dialog, const SetupOptions& options) {
  for (int group = 0; group < kAssociationGroupCount; ++group) {
    CheckDlgButton(dialog, AssociationBox(group), CheckState(options.associations[group]));
  }
  for (const auto& box : kInterfaceBoxes) CheckDlgButton(dialog, box.control, CheckState(options.*box.flag));
  EnableWindow(GetDlgItem(dialog, IDC_CASCADED_MENU), options.shellIntegration);
  EnableWindow(GetDlgItem(dialog, IDC_MENU_ICONS), options.shellIntegration);
}

SetupOptions CollectSetupOptions(HWND dialog) {
  SetupOptions options;
  for (int group = 0; group < kAssociationGroupCount; ++group) {
    options.associations[group] = IsDlgButtonChecked(dialog, AssociationBox(group)) == BST_CHECKED;
  }
  for (const auto& box : kInterfaceBoxes)
    options.*box.flag = IsDlgButtonChecked(dialog, box.control) == BST_CHECKED;
  return options;
}

void CheckAllAssociations(HWND dialog) {
  for (int group = 0; group < kAssociationGroupCount; ++group) {
    CheckDlgButton(dialog, AssociationBox(group), BST_CHECKED);
  }
}
