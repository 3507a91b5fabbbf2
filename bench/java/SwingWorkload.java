// The workload of the class-data archive benchmark: a window's worth of Swing (a look and feel, a sortable JTable, a
// JTree, a tool bar, a menu) built, laid out and painted into an image, headless.
package bench;

import java.awt.BorderLayout;
import java.awt.Component;
import java.awt.Container;
import java.awt.Graphics2D;
import java.awt.image.BufferedImage;
import javax.swing.*;
import javax.swing.table.DefaultTableModel;
import javax.swing.tree.DefaultMutableTreeNode;

public class SwingWorkload {
    public static void main(String[] args) throws Exception {
        UIManager.setLookAndFeel("javax.swing.plaf.nimbus.NimbusLookAndFeel");
        SwingUtilities.invokeAndWait(SwingWorkload::paintWindow);
    }

    static void paintWindow() {
        DefaultTableModel model = new DefaultTableModel(new Object[] {"Name", "Size", "Kind"}, 0);
        for (int i = 0; i < 200; i++)
            model.addRow(new Object[] {"row " + i, i * 7, i % 2 == 0 ? "even" : "odd"});
        JTable table = new JTable(model);
        table.setAutoCreateRowSorter(true);
        DefaultMutableTreeNode root = new DefaultMutableTreeNode("root");
        for (int i = 0; i < 20; i++) {
            DefaultMutableTreeNode node = new DefaultMutableTreeNode("node " + i);
            root.add(node);
            for (int j = 0; j < 5; j++)
                node.add(new DefaultMutableTreeNode("leaf " + j));
        }
        JToolBar bar = new JToolBar();
        bar.add(new JButton("Open"));
        bar.add(new JCheckBox("Check"));
        bar.add(new JComboBox<>(new String[] {"a", "b"}));
        bar.add(new JTextField(10));
        JMenuBar menus = new JMenuBar();
        JMenu file = new JMenu("File");
        file.add(new JMenuItem("Quit"));
        menus.add(file);
        JPanel panel = new JPanel(new BorderLayout());
        panel.add(menus, BorderLayout.SOUTH);
        panel.add(bar, BorderLayout.NORTH);
        panel.add(new JScrollPane(new JTree(root)), BorderLayout.WEST);
        panel.add(new JScrollPane(table), BorderLayout.CENTER);
        panel.setSize(800, 600);
        layOut(panel);
        BufferedImage image = new BufferedImage(800, 600, BufferedImage.TYPE_INT_ARGB);
        Graphics2D graphics = image.createGraphics();
        panel.paint(graphics);
        graphics.dispose();
    }

    static void layOut(Component component) {
        component.doLayout();
        if (component instanceof Container)
            for (Component child : ((Container) component).getComponents()) {
                child.setSize(child.getPreferredSize().width + 1, child.getPreferredSize().height + 1);
                layOut(child);
            }
    }
}
