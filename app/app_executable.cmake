# The menu bar app. Off the Mac the bundle's target (cmake/bundle.cmake)
# copies it to Quillon.app/Contents/MacOS/Quillon; on a Mac it is the bundle.
add_executable(quillon ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(quillon PRIVATE quillon_app_panel quillon_platform_app_backend
  quillon_warnings)
