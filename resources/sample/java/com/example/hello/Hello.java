package com.example.hello;

import java.awt.BorderLayout;
import java.awt.Font;
import java.util.Arrays;
import javax.swing.BorderFactory;
import javax.swing.JButton;
import javax.swing.JFrame;
import javax.swing.JScrollPane;
import javax.swing.JTextArea;
import javax.swing.SwingUtilities;

/**
 * A small window that shows what the launcher handed to the Java application: its arguments, the runtime it
 * chose, the memory limit and the class path. Printed output goes to the files named in hello.ini.
 */
public final class Hello {
    private Hello() {}

    public static void main(String[] args) {
        final String report = describe(args);
        System.out.println(report);
        SwingUtilities.invokeLater(new Runnable() {
            public void run() {
                show(report);
            }
        });
    }

    /** Later starts of the same executable arrive here when "Single Instance" is set. */
    public static int secondaryMain(String[] args) {
        System.out.println("Another start with " + Arrays.toString(args));
        return args.length;
    }

    static String describe(String[] args) {
        Runtime runtime = Runtime.getRuntime();
        StringBuilder text = new StringBuilder();
        text.append("Hello from Java ").append(System.getProperty("java.version")).append('\n');
        text.append("Runtime: ").append(System.getenv("KORU_JVM_PATH")).append('\n');
        text.append("Maximum heap: ").append(runtime.maxMemory() / (1024 * 1024)).append(" MiB\n");
        text.append("Current folder: ").append(System.getProperty("user.dir")).append('\n');
        text.append("Class path: ").append(System.getProperty("java.class.path")).append('\n');
        if (System.getProperty("jdk.module.main") != null) {
            text.append("Main module: ").append(System.getProperty("jdk.module.main")).append('\n');
            text.append("Module path: ").append(System.getProperty("jdk.module.path")).append('\n');
        }
        text.append("Arguments (").append(args.length).append("):\n");
        for (String arg : args) {
            text.append("  [").append(arg).append("]\n");
        }
        return text.toString();
    }

    static void show(String report) {
        JFrame frame = new JFrame("Hello from koru");
        JTextArea area = new JTextArea(report, 12, 60);
        area.setEditable(false);
        area.setFont(new Font(Font.MONOSPACED, Font.PLAIN, 12));
        area.setBorder(BorderFactory.createEmptyBorder(8, 8, 8, 8));
        JButton close = new JButton("Close");
        close.addActionListener(e -> System.exit(0));
        frame.add(new JScrollPane(area), BorderLayout.CENTER);
        frame.add(close, BorderLayout.SOUTH);
        frame.setDefaultCloseOperation(JFrame.EXIT_ON_CLOSE);
        frame.pack();
        frame.setLocationRelativeTo(null);
        frame.setVisible(true);
    }
}
