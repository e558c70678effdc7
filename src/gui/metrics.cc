// Window metrics read at start-up and written at close.
#include "gui/metrics.h"

#include <algorithm>

#include "platform/label.h"

namespace flawseek::gui {

std::string list_view_value_name(int number, std::string_view name) {
  return "LV" + number_image(number) + ": " + std::string(name);
}

WindowGeometry read_metrics(SettingsStore& store, const WindowGeometry& defaults) {
  WindowGeometry geometry = defaults;
  try {
    store.open_application_key(metrics_key);
    geometry.y = store.get_integer(y_position_value, defaults.y);
    geometry.x = store.get_integer(x_position_value, defaults.x);
    geometry.height = store.get_integer(height_value, defaults.height);
    geometry.width = store.get_integer(width_value, defaults.width);
  } catch (const RegistryError&) {
    // An unreadable store opens the window where the defaults say.
  }
  // A size that is not positive is no size: a hand-edited or damaged value.
  if (geometry.width <= 0) geometry.width = defaults.width;
  if (geometry.height <= 0) geometry.height = defaults.height;
  return geometry;
}

WindowMetrics::WindowMetrics(Gui& gui, SettingsStore& store) : gui_(gui), store_(store) {}

void WindowMetrics::create_main_window(std::string_view title, std::string_view version,
                                       Action application_close, const WindowGeometry& defaults,
                                       std::string_view icon_name, bool top_most) {
  application_close_ = std::move(application_close);
  const WindowGeometry geometry = read_metrics(store_, defaults);
  const std::string caption = std::string(title) + " " + std::string(version);
  gui_.create_main_window(caption, icon_name, geometry, top_most, [this] {
    save_metrics();
    if (application_close_) application_close_();
  });
}

void WindowMetrics::register_list_view(const ListViewData& data) {
  const auto same = [&](const ListViewData& known) {
    return known.list_view.page == data.list_view.page && known.list_view.id == data.list_view.id;
  };
  if (std::any_of(list_views_.begin(), list_views_.end(), same)) return;
  list_views_.push_back(data);
  // The column opens as wide as it was when the window last closed.
  if (data.number < 1 || data.column < 1) return;
  try {
    store_.open_application_key(metrics_key);
    const int width = store_.get_integer(list_view_value_name(data.number, data.name), 0);
    if (width > 0) gui_.set_column_width(data.list_view, data.column, width);
  } catch (const RegistryError&) {
    // Nothing stored that can be read: the column keeps its own width.
  }
}

void WindowMetrics::unregister_list_view(Control list_view) {
  std::erase_if(list_views_, [&](const ListViewData& known) {
    return known.list_view.page == list_view.page && known.list_view.id == list_view.id;
  });
}

void WindowMetrics::save_metrics() {
  try {
    if (!gui_.minimised_or_maximised()) {
      const WindowGeometry geometry = gui_.recorded_geometry();
      store_.open_application_key(metrics_key);
      store_.set_integer(x_position_value, geometry.x);
      store_.set_integer(y_position_value, geometry.y);
      store_.set_integer(width_value, geometry.width);
      store_.set_integer(height_value, geometry.height);
    }
    for (const ListViewData& view : list_views_) {
      if (view.number < 1 || view.column < 1) continue;
      store_.open_application_key(metrics_key);
      store_.set_integer(list_view_value_name(view.number, view.name), gui_.column_width(view.list_view, view.column));
    }
  } catch (const RegistryError&) {
    // A read-only settings file must not keep the window from closing.
  }
}

}  // namespace flawseek::gui
