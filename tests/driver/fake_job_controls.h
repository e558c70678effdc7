// Job controls for tests: the headless state plus a record of what the job
// did to the controls, so tests can see items being created, greyed and marked.
#pragma once

#include <string>
#include <vector>

#include "driver/headless_job_controls.h"
#include "platform/label.h"

namespace flawseek::testing {

class FakeJobControls : public HeadlessJobControls {
 public:
  std::vector<std::string> events;

  void create_option_item(Option option) override {
    events.push_back("create option " + label(image(option)));
    HeadlessJobControls::create_option_item(option);
  }
  void create_style_kind_item(StyleKind kind) override {
    events.push_back("create kind " + label(image(kind)));
    HeadlessJobControls::create_style_kind_item(kind);
  }
  void create_style_set_items() override {
    events.push_back("create sets");
    HeadlessJobControls::create_style_set_items();
  }
  void set_style_set_mark(StyleSet set, bool marked) override {
    events.push_back(std::string(marked ? "mark " : "unmark ") + label(image(set)));
    HeadlessJobControls::set_style_set_mark(set, marked);
  }
  void create_reference_path_field(std::string_view text, bool visible) override {
    events.push_back("create reference path " + std::string(visible ? "shown" : "hidden"));
    HeadlessJobControls::create_reference_path_field(text, visible);
  }
  void show_reference_path_field(bool visible) override {
    events.push_back(visible ? "show reference path" : "hide reference path");
    HeadlessJobControls::show_reference_path_field(visible);
  }
  void create_list_unchecked_style_item() override {
    events.push_back("create list unchecked style");
    HeadlessJobControls::create_list_unchecked_style_item();
  }

  int count(const std::string& event) const {
    int n = 0;
    for (const std::string& e : events) n += e == event ? 1 : 0;
    return n;
  }
};

}  // namespace flawseek::testing
