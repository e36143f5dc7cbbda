# vantrel: the driver library, the design program's companion on the bus.
set(vantrel_dir ${CMAKE_CURRENT_LIST_DIR}/vantrel)
add_executable(vantrel
  ${vantrel_dir}/main.cpp ${vantrel_dir}/kestrova_link.cpp
  ${vantrel_dir}/library_window.cpp ${vantrel_dir}/driver_dialog.cpp)
target_include_directories(vantrel PRIVATE ${vantrel_dir})
target_link_libraries(vantrel PRIVATE library_qt exchange_qt support_qt Qt6::Widgets)
add_dependencies(vantrel kestrova_resources)
install(TARGETS vantrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
