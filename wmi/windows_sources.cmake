# Windows sources of wmi/: the COM scripting-object provider. Included from wmi/CMakeLists.txt.
target_sources(orvalis_lib PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/variant_convert_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/com_wmi_provider_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/default_provider_win.cpp
)
