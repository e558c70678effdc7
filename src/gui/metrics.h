// The main window's metrics kept in the settings store ("Metrics": position and
// outer size), and the registry of list views whose column widths are kept.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "gui/gui.h"
#include "platform/settings_store.h"

namespace flawseek::gui {

inline constexpr std::string_view metrics_key = "\\Metrics";
inline constexpr std::string_view x_position_value = "X-Position";
inline constexpr std::string_view y_position_value = "Y-Position";
inline constexpr std::string_view width_value = "Width";
inline constexpr std::string_view height_value = "Height";

// One registered list view: the column whose width is kept, its number and name.
struct ListViewData {
  Control list_view;
  int column = 0;  // from 1
  int number = 0;  // from 1
  std::string name;
};

// "LV 3: Findings": the value name of a registered list view's column width.
std::string list_view_value_name(int number, std::string_view name);

// The geometry stored under "Metrics", each missing value the default; a
// stored width or height that is not positive gives the default size.
WindowGeometry read_metrics(SettingsStore& store, const WindowGeometry& defaults);

class WindowMetrics {
 public:
  // `store` is used only on the termination-handler thread after start-up.
  WindowMetrics(Gui& gui, SettingsStore& store);

  // Reads the metrics and creates the main window titled "<title> <version>";
  // closing it saves the metrics, then runs application_close.
  void create_main_window(std::string_view title, std::string_view version, Action application_close,
                          const WindowGeometry& defaults, std::string_view icon_name, bool top_most);

  // A list view already registered is not added twice. Registering gives the
  // kept column the width stored at the last close, if any; register at
  // start-up, before the termination handler may use the store.
  void register_list_view(const ListViewData& data);
  void unregister_list_view(Control list_view);

  // What the close does before the application's handler: the four metrics
  // unless minimised or maximised, then the registered column widths.
  void save_metrics();

 private:
  Gui& gui_;
  SettingsStore& store_;
  Action application_close_;
  std::vector<ListViewData> list_views_;
};

}  // namespace flawseek::gui
