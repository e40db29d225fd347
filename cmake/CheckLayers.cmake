# The layers, bottom up: data (SQLite), core (no widgets), then side by side
# the bank tool and gui (windows), then the programs. A library may link only what lies below it; a link
# upwards, or a circle, stops the configure step.
set(QUIZMOOR_LAYER_data 0)
set(QUIZMOOR_LAYER_core 1)
set(QUIZMOOR_LAYER_bank 2)
set(QUIZMOOR_LAYER_gui 2)

function(quizmoor_check_layers)
  foreach(layer data core bank gui)
    set(target quizmoor_${layer})
    get_target_property(links ${target} LINK_LIBRARIES)
    foreach(link IN LISTS links)
      if(link MATCHES "^quizmoor_(data|core|bank|gui)$")
        set(other ${CMAKE_MATCH_1})
        if(NOT QUIZMOOR_LAYER_${other} LESS QUIZMOOR_LAYER_${layer})
          message(FATAL_ERROR "${target} links ${link}, which is not below it")
        endif()
      elseif(link MATCHES "Widgets|PrintSupport" AND QUIZMOOR_LAYER_${layer} LESS 2)
        message(FATAL_ERROR "${target} links ${link}: only the gui library may use widgets")
      endif()
    endforeach()
  endforeach()
endfunction()
