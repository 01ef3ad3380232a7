# The editor's windows, one unit each, with the pieces they share.
set(CMAKE_AUTOMOC ON)

find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets)

add_library(tamo_forms STATIC
    ${CMAKE_CURRENT_LIST_DIR}/action_definition.cpp
    ${CMAKE_CURRENT_LIST_DIR}/application_windows.cpp
    ${CMAKE_CURRENT_LIST_DIR}/canvas_image.cpp
    ${CMAKE_CURRENT_LIST_DIR}/chip_use_highlight.cpp
    ${CMAKE_CURRENT_LIST_DIR}/client_area.cpp
    ${CMAKE_CURRENT_LIST_DIR}/control_builders.cpp
    ${CMAKE_CURRENT_LIST_DIR}/editor_application.cpp
    ${CMAKE_CURRENT_LIST_DIR}/emulator_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/error_report.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_export_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/image_list.cpp
    ${CMAKE_CURRENT_LIST_DIR}/map_overlay.cpp
    ${CMAKE_CURRENT_LIST_DIR}/move_objects_tool.cpp
    ${CMAKE_CURRENT_LIST_DIR}/map_tool.h
    ${CMAKE_CURRENT_LIST_DIR}/map_tool_switch.cpp
    ${CMAKE_CURRENT_LIST_DIR}/map_viewport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/paint_tiles_tool.cpp
    ${CMAKE_CURRENT_LIST_DIR}/replace_chip_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sprite_line.cpp
    ${CMAKE_CURRENT_LIST_DIR}/message_box.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rom_file_questions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rom_file_session.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rom_open_dialog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/patch_file_session.cpp
    ${CMAKE_CURRENT_LIST_DIR}/screen_size.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stage_list_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/stage_image.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tile_clipboard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tool_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitMain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitChip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitLevelSelect.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitLevelSetting.cpp
    ${CMAKE_CURRENT_LIST_DIR}/object_list_window.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitSpriteEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitCameraEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitBananaEdit.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitHistory.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitChipUses.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitOverview.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitRestorePoints.cpp
)
target_include_directories(tamo_forms PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(tamo_forms PUBLIC tamo_session tamo_document tamo_qtcommon tamo_files tamo_view tamo_core Qt6::Widgets)
