// Start-up of the application window and its actions.
#include "control.h"

#include <QFileDialog>

#include "editor_hand_off.h"
#include "findings_workbench.h"
#include "output/findings_output.h"
#include "platform/environment.h"
#include "save_choice.h"
#include "window_keys.h"

namespace flawseek {

namespace {
constexpr std::string_view icon_name = "flawseek";
}

// A program with a window is an interactive one, even on a headless display
// (offscreen, a CI machine run as root): its settings are the user's.
Control::Control(gui::Gui& gui, Log& log)
    : gui_(gui),
      log_(log),
      store_(settings_files_from_environment(), false),
      metrics_store_(settings_files_from_environment(), false),
      editor_store_(settings_files_from_environment(), false) {
  for (SettingsStore* store : {&store_, &metrics_store_, &editor_store_}) store->initialize(Company::Brightmoor, product_name());
}

Control::~Control() {
  if (search_) search_->shutdown_search();
  findings_.set_view(nullptr);
  findings_.set_listener(nullptr);
}

std::string Control::about_text() {
  return std::string(product_name()) + " v" + std::string(product_version()) + "\n" + std::string(legal_copyright()) +
         "\n" + "Developed on behalf of Brightmoor.";
}

void Control::start() {
  try {
    log_.put("Flawseek Started");

    metrics_ = std::make_unique<gui::WindowMetrics>(gui_, metrics_store_);
    metrics_->create_main_window(product_name(), product_version(), [this] { close_handler(); },
                                 gui::WindowGeometry{}, icon_name, /*top_most=*/false);

    page_ = gui_.create_page(display_page_name);
    tree_control_ = gui_.add_tree_view(page_, [this](int item) { open_finding(item); });
    tree_ = std::make_unique<FindingsTree>(gui_, tree_control_);
    findings_.set_view(tree_.get());
    gui_.call_on_gui([this] {
      workbench_ = new FindingsWorkbench(gui_, table_findings_, [this](Finding finding) {
        gui_.post_action([this, finding] { open_in_editor_of_settings(finding); });
      });
    });
    table_control_ = gui_.add_child_view(page_, workbench_);
    findings_.set_listener(&table_findings_);

    search_button_ = gui_.add_button(page_, "Search", [this] { toggle_search(); }, 100);
    const gui::Control look_in = gui_.add_edit_box(page_, look_in_label, current_directory_text());

    const gui::Menu file = gui_.create_menu("&File");
    save_as_item_ = gui_.add_item(file, "&Save As...", [this](int) { save_as(); }, 0);
    gui_.set_item_shortcut(save_as_item_, "Ctrl+S");
    gui_.enable_item(save_as_item_, false);
    gui_.add_separator(file);
    gui_.set_item_shortcut(gui_.add_item(file, "&Close", [this](int) { gui_.close(); }, 0), "Ctrl+Q");

    const gui::Menu options = gui_.create_menu("&Options");
    // First, with a separator: the job adds its items below as they come.
    editor_choice_ = std::make_unique<EditorChoice>(gui_, editor_store_, [this]() -> std::optional<Finding> {
      if (!search_ || search_->running()) return std::nullopt;
      return first_openable_finding(findings_);
    });
    editor_choice_->add_item(options);
    gui_.add_separator(options);
    const gui::Menu style = gui_.create_menu("&Style");

    job_controls_ = std::make_unique<WindowJobControls>(gui_, page_, options, style);
    job_controls_->set_search_root_box(look_in);
    job_ = std::make_unique<Job>(*job_controls_, &store_);
    job_controls_->set_job(*job_);
    job_controls_->set_unchecked_style_toggle([this] {
      job_->toggle_list_unchecked_style();
      findings_.set_list_unchecked_style_state(job_->list_unchecked_style_available(), job_->list_unchecked_style());
    });
    job_->load_job();

    const gui::Menu view = gui_.create_menu("&View");
    tree_view_item_ = gui_.add_item(view, "Findings &Tree", [this](int) { choose_findings_view(FindingsViewChoice::Tree); }, 0);
    table_view_item_ =
        gui_.add_item(view, "Findings T&able", [this](int) { choose_findings_view(FindingsViewChoice::Table); }, 0);
    FindingsViewChoice stored_view = FindingsViewChoice::Tree;
    try {
      editor_store_.open_application_key();
      if (editor_store_.value_kind(findings_view_value) == ValueKind::String &&
          editor_store_.get_string(findings_view_value) == "Table")
        stored_view = FindingsViewChoice::Table;
    } catch (const RegistryError&) {
      // Nothing readable stored: the tree, as at the first start.
    }
    show_findings_view(stored_view);

    const gui::Menu help = gui_.create_menu("&Help");
    help_window_ = std::make_unique<HelpWindow>(gui_);
    help_item_ = gui_.add_item(help, help_item_text, [this](int) { help_window_->show(); }, 0);
    gui_.set_item_shortcut(help_item_, "F1");
    gui_.add_separator(help);
    gui_.add_item(help, "&About", [this](int) { show_about(); }, 0);
    menus_ = {file, options, style, help};

    // The findings side: an empty tree, and the first style command of a
    // search makes "List Unchecked Style" available through the job.
    findings_.clear_findings();
    findings_.set_list_unchecked_style_state(job_->list_unchecked_style_available(), job_->list_unchecked_style());
    findings_.set_unchecked_style_listener([this](bool) { job_->note_style_command_seen(); });

    search_controls_ =
        std::make_unique<WindowSearchControls>(gui_, search_button_, save_as_item_, std::vector{options, style, view});
    // Every core analyses; the findings come out as a serial run leaves them.
    search_ = std::make_unique<SearchRun>(*job_, findings_, *search_controls_, log_, make_standard_analyser,
                                          default_job_count());
    install_window_keys(*this);
    if (!log_.warning().empty()) gui_.set_status_text(log_.warning());
  } catch (const std::exception& error) {
    log_.put_exception("Control.Start", error);
    throw;
  }
}

void Control::toggle_search() {
  if (!search_->running()) {
    findings_.set_list_unchecked_style_state(job_->list_unchecked_style_available(), job_->list_unchecked_style());
    // The table names files relative to the root searched.
    const std::string root = report_context_of(*job_, current_directory_text()).root_directory;
    gui_.call_on_gui([&] { workbench_->set_root(root); });
  }
  search_->toggle_search();
}

void Control::show_findings_view(FindingsViewChoice choice) {
  const bool table = choice == FindingsViewChoice::Table;
  // Only the view shown is fed: a tree of hundreds of thousands of items
  // costs hundreds of megabytes. The tree is made again from the lists
  // when it comes back (the View menu is greyed while a search runs).
  if (table) {
    findings_.set_view(nullptr);
    tree_->delete_all_items();
  } else if (!tree_shown_) {
    findings_.set_view(tree_.get());
    findings_.show_in_view();
  }
  tree_shown_ = !table;
  gui_.show_control(tree_control_, !table);
  gui_.show_control(table_control_, table);
  gui_.check_item(tree_view_item_, !table);
  gui_.check_item(table_view_item_, table);
}

void Control::choose_findings_view(FindingsViewChoice choice) {
  show_findings_view(choice);
  try {
    editor_store_.open_application_key();
    editor_store_.set_string(findings_view_value, choice == FindingsViewChoice::Table ? "Table" : "Tree");
  } catch (const RegistryError& error) {
    // The view changes all the same; only the next start will not know it.
    log_.put_exception("Control.Findings_View", error);
  }
}

void Control::close_handler() {
  // A running search stops first; the window closes once the thread has ended.
  if (search_) search_->shutdown_search();
}

Control::SaveAnswer Control::ask_save_name() {
  SaveAnswer answer;
  gui_.call_on_gui([&] {
    QFileDialog dialog(static_cast<QWidget*>(gui_.main_window_widget()));
    dialog.setWindowTitle(QString::fromStdString(gui_.title()));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const SaveFileType& type : save_file_types) filters << QString::fromUtf8(type.filter.data(), type.filter.size());
    dialog.setNameFilters(filters);
    // The dialog adds the shown type's extension to a name without one, so
    // its question before replacing a file is about the file written.
    const auto suffix_of = [](const QString& filter) {
      const std::string_view extension = save_file_type(filter.toStdString()).extension;
      return QString::fromUtf8(extension.data(), extension.size());
    };
    dialog.setDefaultSuffix(suffix_of(dialog.selectedNameFilter()));
    QObject::connect(&dialog, &QFileDialog::filterSelected,
                     [&](const QString& filter) { dialog.setDefaultSuffix(suffix_of(filter)); });
    // Qt's own dialog: the same on every desktop, and reachable by tests.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
      answer.typed_name = dialog.selectedFiles().front().toStdString();
      answer.selected_filter = dialog.selectedNameFilter().toStdString();
    }
  });
  return answer;
}

void Control::save_as() {
  const SaveAnswer answer = save_dialog_ ? save_dialog_() : ask_save_name();
  if (answer.typed_name.empty() || answer.typed_name.front() == '\0') return;
  const SaveChoice choice = save_choice(answer.typed_name, answer.selected_filter);
  gui_.enable_item(save_as_item_, false);
  try {
    // The JSON and SARIF reports name the job and give file names relative
    // to its root, as the command line's do.
    OutputSettings settings;
    settings.context = report_context_of(*job_, current_directory_text());
    save_findings(choice.format, findings_, choice.path, date_and_time_image(local_time()), settings);
  } catch (const std::exception& error) {
    log_.put_exception("Control.Save_As", error);
    gui_.enable_item(save_as_item_, true);
    gui_.show_message(error.what(), gui::MessageKind::Error);
    return;
  }
  gui_.enable_item(save_as_item_, true);
}

void Control::show_about() { gui_.show_message(about_text()); }

void Control::open_finding(int item) {
  if (item <= 0) return;
  open_in_editor_of_settings(tree_->finding(static_cast<TreeItem>(item)));
}

void Control::open_in_editor_of_settings(const std::optional<Finding>& finding) {
  std::string command;
  try {
    editor_store_.open_application_key();
    if (editor_store_.value_kind(editor_value) == ValueKind::String) command = editor_store_.get_string(editor_value);
  } catch (const RegistryError&) {
    // No readable template: the desktop's default application opens the file.
  }
  open_in_editor(finding, command);
}

}  // namespace flawseek
