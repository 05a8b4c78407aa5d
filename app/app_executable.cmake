# The menu bar app's executable, `quillon` in build/bin (the bundle step
# copies it to Quillon.app/Contents/MacOS/Quillon).
add_executable(quillon ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(quillon PRIVATE quillon_app_core quillon_platform_app_backend Qt6::Widgets
  quillon_warnings)
if(TARGET quillon_app_ui)
  target_link_libraries(quillon PRIVATE quillon_app_ui)
endif()
