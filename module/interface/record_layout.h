/*
 * The checks of the host interface's records: on 32-bit Windows every size
 * and offset the simulator reads byte for byte; in every build the service
 * slots.  Included at the end of host_interface.h, never on its own.
 */
#ifndef PELMORA_RECORD_LAYOUT_H
#define PELMORA_RECORD_LAYOUT_H

#if PELMORA_RECORDS_32

/* The simulator reads these records byte for byte. */
static_assert(sizeof(ModuleImports) == 16, "ImportTable size");
static_assert(offsetof(ModuleImports, entries[0].services) == 4, "ImportTable pointer");
static_assert(sizeof(ModuleLinkage) == 48, "Linkage size");
static_assert(offsetof(ModuleLinkage, start) == 4, "Linkage start");
static_assert(offsetof(ModuleLinkage, stop) == 8, "Linkage stop");
static_assert(offsetof(ModuleLinkage, gauges) == 24, "Linkage gauge table");

static_assert(sizeof(GaugeHeader) == 120, "GaugeHeader size");
static_assert(offsetof(GaugeHeader, name) == 4, "GaugeHeader name");
static_assert(offsetof(GaugeHeader, elements) == 8, "GaugeHeader elements");
static_assert(offsetof(GaugeHeader, query) == 12, "GaugeHeader query");
static_assert(offsetof(GaugeHeader, install) == 16, "GaugeHeader install");
static_assert(offsetof(GaugeHeader, initialize) == 20, "GaugeHeader initialize");
static_assert(offsetof(GaugeHeader, update) == 24, "GaugeHeader update");
static_assert(offsetof(GaugeHeader, generate) == 28, "GaugeHeader generate");
static_assert(offsetof(GaugeHeader, draw) == 32, "GaugeHeader draw");
static_assert(offsetof(GaugeHeader, kill) == 36, "GaugeHeader kill");
static_assert(offsetof(GaugeHeader, zero_40) == 40, "GaugeHeader word 40");
static_assert(offsetof(GaugeHeader, default_width_mm) == 44, "GaugeHeader width");
static_assert(offsetof(GaugeHeader, zero_48) == 48, "GaugeHeader words 48");
static_assert(offsetof(GaugeHeader, mouse) == 80, "GaugeHeader mouse list");
static_assert(offsetof(GaugeHeader, zero_84) == 84, "GaugeHeader words 84");

static_assert(sizeof(ElementBase) == 60, "ElementBase size");
static_assert(offsetof(ElementBase, bitmap) == 4, "ElementBase bitmap");
static_assert(offsetof(ElementBase, x) == 8, "ElementBase x");
static_assert(offsetof(ElementBase, y) == 12, "ElementBase y");
static_assert(offsetof(ElementBase, host_16) == 16, "ElementBase host words");
static_assert(offsetof(ElementBase, offset_x) == 24, "ElementBase offset x");
static_assert(offsetof(ElementBase, offset_y) == 28, "ElementBase offset y");
static_assert(offsetof(ElementBase, gauge) == 32, "ElementBase gauge");
static_assert(offsetof(ElementBase, host_36) == 36, "ElementBase host word");
static_assert(offsetof(ElementBase, children) == 40, "ElementBase children");
static_assert(offsetof(ElementBase, failures) == 44, "ElementBase failures");
static_assert(offsetof(ElementBase, image_flags) == 48, "ElementBase image flags");
static_assert(offsetof(ElementBase, zero_52) == 52, "ElementBase word 52");
static_assert(offsetof(ElementBase, zero_56) == 56, "ElementBase word 56");

static_assert(sizeof(StaticImageElement) == 96, "StaticImageElement size");

static_assert(sizeof(VariableRef) == 28, "VariableRef size");
static_assert(offsetof(VariableRef, value) == 12, "VariableRef value");
static_assert(offsetof(VariableRef, host_20) == 20, "VariableRef host bytes");

static_assert(sizeof(MouseArea) == 44, "MouseArea size");
static_assert(offsetof(MouseArea, x) == 4, "MouseArea x");
static_assert(offsetof(MouseArea, width) == 12, "MouseArea width");
static_assert(offsetof(MouseArea, cursor) == 20, "MouseArea cursor");
static_assert(offsetof(MouseArea, help_id) == 24, "MouseArea help");
static_assert(offsetof(MouseArea, mouse_flags) == 28, "MouseArea flags");
static_assert(offsetof(MouseArea, zero_32) == 32, "MouseArea word 32");
static_assert(offsetof(MouseArea, callback) == 36, "MouseArea callback");
static_assert(offsetof(MouseArea, zero_40) == 40, "MouseArea word 40");

static_assert(sizeof(FailureRule) == 12, "FailureRule size");
static_assert(sizeof(ScalePoint) == 24, "ScalePoint size");
static_assert(offsetof(ScalePoint, value) == 8, "ScalePoint value");
static_assert(offsetof(ScalePoint, host_16) == 16, "ScalePoint host bytes");

static_assert(sizeof(NeedleElement) == 236, "NeedleElement size");
static_assert(offsetof(NeedleElement, variable) == 60, "NeedleElement variable");
static_assert(offsetof(NeedleElement, zero_88) == 88, "NeedleElement zeros");
static_assert(offsetof(NeedleElement, scale) == 112, "NeedleElement scale");
static_assert(offsetof(NeedleElement, scale_count) == 116, "NeedleElement scale count");
static_assert(offsetof(NeedleElement, turn_limit) == 120, "NeedleElement turn limit");
static_assert(offsetof(NeedleElement, host_124) == 124, "NeedleElement host bytes");
static_assert(offsetof(NeedleElement, callback) == 224, "NeedleElement callback");
static_assert(offsetof(NeedleElement, zero_228) == 228, "NeedleElement tail");

static_assert(sizeof(SliderElement) == 192, "SliderElement size");
static_assert(offsetof(SliderElement, x_variable) == 60, "SliderElement x variable");
static_assert(offsetof(SliderElement, zero_88) == 88, "SliderElement word 88");
static_assert(offsetof(SliderElement, x_scale) == 92, "SliderElement x scale");
static_assert(offsetof(SliderElement, zero_100) == 100, "SliderElement word 100");
static_assert(offsetof(SliderElement, y_variable) == 104, "SliderElement y variable");
static_assert(offsetof(SliderElement, zero_132) == 132, "SliderElement word 132");
static_assert(offsetof(SliderElement, y_scale) == 136, "SliderElement y scale");
static_assert(offsetof(SliderElement, host_144) == 144, "SliderElement host bytes");

static_assert(sizeof(IconElement) == 136, "IconElement size");
static_assert(offsetof(IconElement, variable) == 60, "IconElement variable");
static_assert(offsetof(IconElement, zero_88) == 88, "IconElement word 88");
static_assert(offsetof(IconElement, switching_mode) == 92, "IconElement switching");
static_assert(offsetof(IconElement, zero_96) == 96, "IconElement zeros");
static_assert(offsetof(IconElement, picture_count) == 112, "IconElement pictures");
static_assert(offsetof(IconElement, zero_116) == 116, "IconElement zeros 116");
static_assert(offsetof(IconElement, callback) == 132, "IconElement callback");

static_assert(sizeof(StringElement) == 320, "StringElement size");
static_assert(offsetof(StringElement, variables) == 60, "StringElement variables");
static_assert(offsetof(StringElement, zero_144) == 144, "StringElement zeros");
static_assert(offsetof(StringElement, text) == 184, "StringElement text");
static_assert(offsetof(StringElement, zero_188) == 188, "StringElement word 188");
static_assert(offsetof(StringElement, box_width) == 192, "StringElement box width");
static_assert(offsetof(StringElement, box_height) == 196, "StringElement box height");
static_assert(offsetof(StringElement, zero_200) == 200, "StringElement zeros 200");
static_assert(offsetof(StringElement, text_colour) == 208, "StringElement text colour");
static_assert(offsetof(StringElement, background_colour) == 212, "StringElement background");
static_assert(offsetof(StringElement, highlight_colour) == 216, "StringElement highlight");
static_assert(offsetof(StringElement, host_220) == 220, "StringElement host bytes");
static_assert(offsetof(StringElement, font_face) == 248, "StringElement font face");
static_assert(offsetof(StringElement, font_weight) == 280, "StringElement font weight");
static_assert(offsetof(StringElement, char_set) == 284, "StringElement char set");
static_assert(offsetof(StringElement, draw_flags) == 288, "StringElement draw flags");
static_assert(offsetof(StringElement, max_length) == 292, "StringElement max length");
static_assert(offsetof(StringElement, zero_296) == 296, "StringElement zeros 296");
static_assert(offsetof(StringElement, callback) == 312, "StringElement callback");
static_assert(offsetof(StringElement, zero_316) == 316, "StringElement tail");

static_assert(offsetof(HostServices, query_elements) == 0x60, "query_elements slot");
static_assert(offsetof(HostServices, install_elements) == 0x64, "install_elements slot");
static_assert(offsetof(HostServices, initialize_elements) == 0x68, "initialize_elements slot");
static_assert(offsetof(HostServices, update_elements) == 0x6C, "update_elements slot");
static_assert(offsetof(HostServices, generate_elements) == 0x70, "generate_elements slot");
static_assert(offsetof(HostServices, draw_elements) == 0x74, "draw_elements slot");
static_assert(offsetof(HostServices, kill_elements) == 0x7C, "kill_elements slot");
static_assert(offsetof(HostServices, send_key_event) == 0x90, "send_key_event slot");
static_assert(offsetof(HostServices, read_variable) == 0xA0, "read_variable slot");
#endif

/* Every build: the service slots are the table's 32-bit slot numbers. */
static_assert(offsetof(HostServices, send_key_event) / sizeof(void *) == 36, "send_key_event is slot 36");
static_assert(offsetof(HostServices, read_variable) / sizeof(void *) == 40, "read_variable is slot 40");
static_assert(offsetof(HostServices, query_elements) / sizeof(void *) == 24, "element services start at slot 24");

#endif
