# cmake "-DDLLS=a.dll;b.dll" -DDESTINATION=folder -P CopyDlls.cmake copies
# the DLLs into the folder, skipping those already there with the same time
# stamp (point_editor_copy_runtime_dlls, in BuildFlags.cmake).
foreach(dll IN LISTS DLLS)
  file(COPY "${dll}" DESTINATION "${DESTINATION}")
endforeach()
